"""The show in a browser tab (make web's page), in headless Chromium with software WebGL.

Usage: web_test.py SITE_DIR TESSARY_CAPTURE SCRATCH_DIR
SITE_DIR holds the built page; TESSARY_CAPTURE renders the reference stills (run from the
repository root, where data/ and shaders/ are).
"""

import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import Browser, Site  # noqa: E402

SITE, CAPTURE, SCRATCH = sys.argv[1:4]
STEPS_PER_SECOND = 120  # the show's fixed step (src/tunables.h)
# How far the drawn step may stand from the audio clock: a frame of software WebGL on a busy
# machine (about 100 ms, 12 steps) plus the audio output's own latency. A page off the audio clock
# is a whole stall (120 steps) away after the stall below.
CLOCK_SLACK_STEPS = 30

# A moment in each part, and one in a flash, as frames (the golden frames' moments).
STILLS = ["1200f", "2640f", "6600f", "9600f", "12000f", "15000f", "18000f"]

# Within the tolerance the renderers hold each other to: at most 0.5% of the pixels differ by
# more than 4%.
MAX_DIFFERING = 0.005
FUZZ = "4%"

# Counts `n` of the page's animation frames.
FRAMES = ("new Promise(done => { let n = 0; const f = () => ++n >= %d ? done(n) : "
          "requestAnimationFrame(f); requestAnimationFrame(f); })")


def differing_fraction(a, b):
    """The fraction of pixels of PNG files a and b that differ by more than FUZZ."""
    run = subprocess.run(["compare", "-metric", "AE", "-fuzz", FUZZ, a, b, "null:"],
                         capture_output=True, text=True)
    if run.returncode > 1:
        raise AssertionError("compare failed: " + run.stderr)
    size = subprocess.run(["identify", "-format", "%w %h", a], capture_output=True, text=True,
                          check=True).stdout.split()
    return float(run.stderr.split()[0]) / (int(size[0]) * int(size[1]))


def save(name, data):
    path = os.path.join(SCRATCH, name)
    with open(path, "wb") as out:
        out.write(data)
    return path


class BrowserPage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        os.makedirs(SCRATCH, exist_ok=True)
        cls.site = Site(SITE).__enter__()
        cls.browser = Browser(1024, 768).__enter__()

    @classmethod
    def tearDownClass(cls):
        cls.browser.__exit__(None, None, None)
        cls.site.__exit__(None, None, None)

    def start(self, query,
              ready="typeof Module._tessary_step === 'function' && Module._tessary_step() > 0"):
        """Loads the page, presses its button, and waits for `ready` (the show's first steps)."""
        page = self.browser.open(self.site.url(query))
        page.wait_for("document.getElementById('play') && "
                      "!document.getElementById('play').disabled")
        page.evaluate("document.getElementById('play').click()")
        page.wait_for(ready)
        return page

    def step(self, page):
        return page.evaluate("Module._tessary_step()")

    def test_the_show_plays_in_step_with_the_audio_clock(self):
        page = self.start("?start=20")
        self.assertTrue(page.evaluate("tessaryPage.hasSound()"), "the page has no sound")
        self.assertTrue(page.evaluate("document.getElementById('note').hidden"))
        first = save("playing-1.png", page.screenshot())
        page.evaluate(FRAMES % 30)
        second = save("playing-2.png", page.screenshot())
        self.assertGreater(differing_fraction(first, second), 0.01, "the show stands still")

        # Over a stretch of playing, the steps drawn follow the audio clock's seconds.
        read = ("[tessaryPage.audioContext().currentTime, Module._tessary_step()]")
        t0, s0 = page.evaluate(read)
        page.evaluate(FRAMES % 60)
        t1, s1 = page.evaluate(read)
        self.assertGreater(s1, s0)
        self.assertLessEqual(abs((s1 - s0) - (t1 - t0) * STEPS_PER_SECOND), CLOCK_SLACK_STEPS,
                             "steps %d..%d over audio %.3f..%.3f s" % (s0, s1, t0, t1))

        # A tab that stalls (its main thread busy for a second) catches up with the clock: the
        # late steps run undrawn and the next frame is the audio clock's.
        page.evaluate("(() => { const t = performance.now(); while (performance.now() - t < 1000); })()")
        page.evaluate(FRAMES % 10)
        t2, s2 = page.evaluate(read)
        self.assertLessEqual(abs((s2 - s1) - (t2 - t1) * STEPS_PER_SECOND), CLOCK_SLACK_STEPS,
                             "after a stall: steps %d..%d over audio %.3f..%.3f s" % (s1, s2, t1, t2))

        # The audio clock stopped, frames go on and the picture stands; it moves on again with
        # the clock.
        page.evaluate("tessaryPage.audioContext().suspend()")
        page.evaluate(FRAMES % 5)
        held = self.step(page)
        page.evaluate(FRAMES % 30)
        self.assertLessEqual(self.step(page) - held, 1, "the show ran without the audio clock")
        page.evaluate("tessaryPage.audioContext().resume()")
        page.evaluate(FRAMES % 30)
        self.assertGreater(self.step(page), held + 1)
        self.assertEqual(page.errors, [])

    def press(self, page, key, code, key_code):
        """A key pressed and released, as the keyboard sends it."""
        for kind in ("keyDown", "keyUp"):
            page.call("Input.dispatchKeyEvent", type=kind, key=key, code=code,
                      windowsVirtualKeyCode=key_code,
                      text=key if len(key) == 1 and kind == "keyDown" else "")

    def test_the_desktop_keys_work_on_the_page(self):
        page = self.start("?start=20&magic")
        # p pauses picture and music together: the audio clock runs on, the step stands.
        self.press(page, "p", "KeyP", 80)
        page.evaluate(FRAMES % 5)
        held = self.step(page)
        page.evaluate(FRAMES % 30)
        self.assertEqual(self.step(page), held)
        # PageDown: the first frame of the next part (lines, from beat 50).
        self.press(page, "PageDown", "PageDown", 34)
        page.evaluate(FRAMES % 5)
        self.assertAlmostEqual(self.step(page), round(50 * 60 / 140 * STEPS_PER_SECOND), delta=1)
        self.press(page, "p", "KeyP", 80)
        page.evaluate(FRAMES % 30)
        self.assertGreater(self.step(page), round(50 * 60 / 140 * STEPS_PER_SECOND) + 1)
        # F1 shows the overlay over the canvas; Escape ends the show.
        self.press(page, "F1", "F1", 112)
        page.wait_for("!document.getElementById('overlay').hidden")
        self.assertIn("part lines", page.evaluate("document.getElementById('overlay').textContent"))
        self.press(page, "Escape", "Escape", 27)
        page.wait_for("document.title === 'Tessary: the end'")
        self.assertTrue(page.evaluate("document.getElementById('overlay').hidden"))
        self.assertEqual(page.errors, [])

    def test_the_show_ends_as_on_the_desktop(self):
        page = self.start("?start=388b")
        page.wait_for("document.title === 'Tessary: the end'")
        self.assertFalse(page.evaluate("document.getElementById('start').hidden"))
        self.assertEqual(page.evaluate("Module._tessary_step()"), -1)
        self.assertEqual(page.errors, [])

    def test_a_moment_that_is_not_in_the_show_is_refused(self):
        page = self.start("?start=99999b",
                          "document.getElementById('message').textContent"
                          ".includes('not one of the show')")
        self.assertFalse(page.evaluate("document.getElementById('start').hidden"))
        self.assertEqual(page.evaluate("Module._tessary_step()"), -1)
        self.assertTrue(any("past the end" in e or "99999b" in e for e in page.errors),
                        page.errors)

    def test_stills_are_the_offline_renderers_frames(self):
        stills = os.path.join(SCRATCH, "capture")
        subprocess.run([CAPTURE, "--png", stills, "--at", ",".join(STILLS)], check=True,
                       stdout=subprocess.DEVNULL)
        for moment in STILLS:
            with self.subTest(moment=moment):
                page = self.browser.open(self.site.url("?at=" + moment))
                frame = int(moment[:-1])
                page.wait_for("document.title === 'Tessary: frame %d drawn'" % frame, 300)
                shot = save("web-%06d.png" % frame, page.screenshot())
                reference = os.path.join(stills, "%06d.png" % frame)
                self.assertLessEqual(differing_fraction(shot, reference), MAX_DIFFERING)
                self.assertEqual(page.errors, [])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
