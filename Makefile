# Everyday commands. `make run` plays the show (or, with no display, renders it as a video);
# `make test` builds and runs every test; `make install` and `make package` install it or pack it.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release
PREFIX ?= /usr/local
# Where `make release` gathers the release, and the renderer's options for its video.
RELEASE ?= $(BUILD)/release
RELEASE_VIDEO_FLAGS ?= --preset web

# Without a sound device OpenAL Soft's default driver floods standard error: use its silent one.
AUDIO_ENV := $(shell if [ -z "$$ALSOFT_DRIVERS" ] && [ ! -e /dev/snd/controlC0 ] && [ -z "$$PULSE_SERVER" ] && [ ! -S "$${XDG_RUNTIME_DIR:-/nonexistent}/pulse/native" ]; then echo ALSOFT_DRIVERS=null; fi)

.PHONY: all deps build run test install package gallery video bench golden clean pictures music asan windows

all: build

deps:
	@bash scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) > /dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# The build's output goes to $(BUILD)/build.log, with one updating line of how far it is, and is
# shown only when the build fails; with no display, the notice that the show becomes a video
# comes first.
run:
	@if [ -z "$$DISPLAY" ]; then \
	  echo "make run: no display (DISPLAY is not set): rendering the show to $(BUILD)/tessary.mp4 instead"; \
	fi
	@bash scripts/build-progress $(BUILD) $(JOBS) $(CMAKE_FLAGS)
	@if [ -z "$$DISPLAY" ]; then \
	  ./$(BUILD)/tessary-capture --video $(BUILD)/tessary.mp4; \
	else \
	  $(AUDIO_ENV) ./$(BUILD)/tessary -w; \
	fi

test: build
	cd $(BUILD) && $(AUDIO_ENV) ctest --output-on-failure -j $(JOBS)

# The programs in PREFIX/games, their files in PREFIX/share/tessary, their manual pages, the
# desktop entry, the icon and the README (PREFIX=/usr/local unless given).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A .deb (its dependencies read off the binaries by dpkg-shlibdeps) and a .tar.gz, in $(BUILD)/.
package: build
	cd $(BUILD) && cpack

# The player cross-compiled for 64-bit Windows, with its DLLs, data and README.txt, in
# build-windows/tessary-windows.zip; the libraries are built once into build-windows/third-party.
windows: deps
	JOBS=$(JOBS) bash scripts/build-windows build-windows

# The player for the browser in $(WEB)/: our page, tessary.js, tessary.wasm and tessary.data
# (the show's files), and all of it in $(WEB)/tessary-web.zip for any static host.
.PHONY: web web-serve
WEB ?= build-web
WEB_PORT ?= 8000
web: deps
	JOBS=$(JOBS) bash scripts/build-web $(WEB)

# Serves $(WEB)/ on http://127.0.0.1:$(WEB_PORT)/ for trying the page (Ctrl-C stops it).
web-serve:
	@[ -f $(WEB)/index.html ] || { echo "make web-serve: no $(WEB)/index.html: run make web first" >&2; exit 1; }
	@echo "make web-serve: open http://127.0.0.1:$(WEB_PORT)/ (Ctrl-C stops it)"
	/usr/bin/python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory $(WEB)

# Everything a release publishes, in $(RELEASE): the .deb and .tar.gz, the Windows zip (make
# windows, named tessary-VERSION-windows.zip there), the page for browsers (make web,
# tessary-VERSION-web.zip) and the show as the video for video sites, with RELEASE.txt listing
# what each is, its size and its SHA-256 checksum. The version is the project's
# (CMakeLists.txt), read off the built player.
.PHONY: release
release: build
	$(MAKE) windows
	$(MAKE) web
	WEB_ZIP=$(WEB)/tessary-web.zip bash scripts/release $(BUILD) $(RELEASE) build-windows/tessary-windows.zip $(RELEASE_VIDEO_FLAGS)

# Re-renders docs/gallery.jpg, the README's contact sheet; look at it, then commit it.
gallery: build
	bash scripts/gallery $(BUILD)

# Regenerates every data/NAME.png from its text pixel map assets/pictures/NAME.txt.
pictures: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) > /dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target tessary-pictures
	@set --; for source in assets/pictures/*.txt; do \
	  set -- "$$@" "$$source" "data/$$(basename "$$source" .txt).png"; \
	done; ./$(BUILD)/tools/pictures/tessary-pictures "$$@"

# The whole show as a 1024x768 60 fps video with the music, rendered offline (no display needed).
video: build
	./$(BUILD)/tessary-capture --video $(BUILD)/tessary.mp4

# Frame times per part on this machine with both renderers, interleaved (see the README's
# tables), also in $(BUILD)/bench.md, and their plot over the show, docs/frame-times.png
# (gnuplot).
bench: build
	./$(BUILD)/tessary-capture --bench --plot-data $(BUILD)/bench | tee $(BUILD)/bench.md
	gnuplot -e "dir='$(BUILD)/bench'; out='docs/frame-times.png'; heading='$$(head -n 1 $(BUILD)/bench.md | sed "s/^classic renderer, //; s/;.*//; s/'//g")'" tools/capture/frametimes.gp
	@echo "make bench: wrote docs/frame-times.png"

# Re-renders the golden frames of tests/golden/ after a picture changed on purpose; look at
# them, then commit them with a message that says why.
golden: build
	bash scripts/refresh-golden $(BUILD)

# Regenerates data/melody5.ogg from its score assets/music/melody5.score.
music: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) > /dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target tessary-compose
	./$(BUILD)/tools/music/tessary-compose --score assets/music/melody5.score --out data/melody5.ogg

# Unit tests and the whole show under AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer, in a Debug build whose GL error checks are on. Takes minutes.
asan: deps
	@cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTESSARY_SANITIZE=ON > /dev/null
	@cmake --build build-asan -j $(JOBS)
	bash scripts/run-sanitized build-asan

clean:
	rm -rf $(BUILD)
