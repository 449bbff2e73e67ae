# Everyday commands. `make run` plays the show; `make test` builds and runs every test.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release

# Without a sound device OpenAL Soft's default driver floods standard error: use its silent one.
AUDIO_ENV := $(shell if [ -z "$$ALSOFT_DRIVERS" ] && [ ! -e /dev/snd/controlC0 ] && [ -z "$$PULSE_SERVER" ] && [ ! -S "$${XDG_RUNTIME_DIR:-/nonexistent}/pulse/native" ]; then echo ALSOFT_DRIVERS=null; fi)

.PHONY: all deps build run test clean pictures

all: build

deps:
	@bash scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) > /dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(AUDIO_ENV) ./$(BUILD)/tessary -w

test: build
	cd $(BUILD) && $(AUDIO_ENV) ctest --output-on-failure -j $(JOBS)

# Regenerates every data/NAME.png from its text pixel map assets/pictures/NAME.txt.
pictures: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) > /dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target tessary-pictures
	@set --; for source in assets/pictures/*.txt; do \
	  set -- "$$@" "$$source" "data/$$(basename "$$source" .txt).png"; \
	done; ./$(BUILD)/tools/pictures/tessary-pictures "$$@"

clean:
	rm -rf $(BUILD)
