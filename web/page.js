'use strict';
// The page around the player (tessary.js): the start screen and its one button, the sound
// through Web Audio, the clock the show follows, fullscreen, the canvas's size, and what the
// player shows beside the canvas. The player calls in through `tessaryPage`
// (src/platform/web/page.cpp); the page starts it through Module.ccall('tessary_play').
//
// URL parameters: ?start=224b (seconds, beats or frames), ?magic (the developer keys and
// overlay), ?at=12000f (that frame, drawn and paused; the title then says it is drawn).

var tessaryPage = (function () {
  const $ = (id) => document.getElementById(id);
  const params = new URLSearchParams(location.search);
  const moments = {
    start: params.get('start') || '',
    magic: params.has('magic'),
    at: params.get('at') || '',
  };
  // How far past the audio device's last report the clock may run on the page's own clock:
  // enough to smooth between reports, little enough that a stalled audio device stops the show.
  const maxExtrapolation = 0.1;

  let ctx = null;      // the AudioContext, once the button made one
  let buffer = null;   // the decoded music, or null: no sound
  let gain = null;
  let lastRead = 0;    // the clock's last reading, in seconds

  // The moment being heard by the audio clock (the output's timestamp, moved on by the page's
  // clock since it came), never going back; the page's own clock without sound.
  function clock() {
    if (!buffer) return (lastRead = performance.now() / 1000);
    if (ctx.state !== 'running') return lastRead;
    let now = ctx.currentTime;
    const stamp = ctx.getOutputTimestamp ? ctx.getOutputTimestamp() : null;
    if (stamp && stamp.performanceTime > 0 && stamp.contextTime > 0) {
      const since = (performance.now() - stamp.performanceTime) / 1000;
      now = stamp.contextTime + Math.min(Math.max(since, 0), maxExtrapolation);
    }
    return (lastRead = Math.max(lastRead, now));
  }

  // The music, placed by the player: `offset` seconds into the show at clock reading `anchor`,
  // moving at `rate`.
  const music = {
    source: null, offset: 0, anchor: 0, rate: 1, muted: false,
    position() { return this.offset + (lastRead - this.anchor) * this.rate; },
    play(seconds, rate) {
      this.stopSource();
      this.offset = seconds; this.anchor = lastRead; this.rate = rate;
      this.startSource();
    },
    pause() {
      this.offset = this.position(); this.anchor = lastRead;
      this.stopSource();
    },
    resume() { this.anchor = lastRead; this.startSource(); },
    setRate(rate) {
      this.offset = this.position(); this.anchor = lastRead; this.rate = rate;
      if (this.source) this.source.playbackRate.value = rate;
    },
    mute(on) { this.muted = on; if (gain) gain.gain.value = on ? 0 : 1; },
    stop() { this.stopSource(); },
    // A source started now is heard when the clock reaches the context's current time: it
    // starts at the show's moment for that reading.
    startSource() {
      if (!buffer) return;
      const at = this.offset + Math.max(0, ctx.currentTime - lastRead) * this.rate;
      if (at >= buffer.duration) return;
      const source = ctx.createBufferSource();
      source.buffer = buffer;
      source.playbackRate.value = this.rate;
      source.connect(gain);
      source.start(0, Math.max(0, at));
      this.source = source;
    },
    stopSource() {
      if (this.source) { this.source.stop(); this.source.disconnect(); this.source = null; }
    },
  };

  function say(text) { $('message').textContent = text; }

  // The sound, made in the button's click (browsers start audio only after a gesture): '' when
  // the music plays, else why not.
  async function prepareSound() {
    try {
      if (!ctx) ctx = new (window.AudioContext || window.webkitAudioContext)();
      if (ctx.state !== 'running') {
        await Promise.race([ctx.resume(), new Promise((done) => setTimeout(done, 3000))]);
      }
      if (ctx.state !== 'running') throw new Error('the browser did not start the sound');
      if (!buffer) {
        const bytes = Module.FS.readFile('data/melody5.ogg');
        buffer = await new Promise((done, fail) => ctx.decodeAudioData(bytes.buffer, done, fail));
        gain = ctx.createGain();
        gain.connect(ctx.destination);
      }
      return '';
    } catch (error) {
      buffer = null;
      return (error && error.message) || 'the music could not be played';
    }
  }

  function fitCanvas() {
    const canvas = $('canvas');
    const scale = window.devicePixelRatio || 1;
    canvas.width = Math.max(1, Math.round(canvas.clientWidth * scale));
    canvas.height = Math.max(1, Math.round(canvas.clientHeight * scale));
  }

  function toggleFullscreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else if (document.documentElement.requestFullscreen) {
      document.documentElement.requestFullscreen().catch(() => {});
    }
  }

  function run(withSound) {
    $('start').hidden = true;
    $('canvas').focus();
    const status = Module.ccall('tessary_play', 'number', ['string', 'number', 'string'],
                                [moments.start, moments.magic ? 1 : 0, moments.at]);
    if (status !== 0) {
      $('start').hidden = false;
      $('play').disabled = false;
      say(status === 2 ? 'This link\'s moment is not one of the show (see the console).' :
          'The show cannot play in this browser (see the console).');
    }
    return withSound;
  }

  async function play() {
    $('play').disabled = true;
    say('Starting the music...');
    const reason = await prepareSound();
    const note = $('note');
    note.hidden = reason === '';
    note.textContent = reason === '' ? '' :
      'No sound (' + reason + '): the show runs on the page\'s own clock.';
    run(reason === '');
  }

  function ready() {
    if (moments.at !== '') {
      run(false);  // a still: nothing to hear, nothing to wait for
      return;
    }
    say('');
    $('play').disabled = false;
    $('play').focus();
  }

  window.addEventListener('resize', fitCanvas);
  window.addEventListener('keydown', (event) => {
    if (event.key === 'Enter' && $('start').hidden) toggleFullscreen();
  });
  document.addEventListener('DOMContentLoaded', () => {
    fitCanvas();
    $('play').addEventListener('click', play);
    $('canvas').addEventListener('dblclick', toggleFullscreen);
  });

  return {
    clock,
    music,
    hasSound: () => buffer !== null,
    audioContext: () => ctx,
    ready,
    setOverlay(text) { $('overlay').hidden = text === ''; $('overlay').textContent = text; },
    download(name, bytes, type) {
      const link = document.createElement('a');
      link.href = URL.createObjectURL(new Blob([bytes], { type }));
      link.download = name;
      link.click();
      setTimeout(() => URL.revokeObjectURL(link.href), 10000);
    },
    ended() {
      music.stop();
      if (document.fullscreenElement) document.exitFullscreen();
      $('note').hidden = true;
      $('start').hidden = false;
      $('play').textContent = 'Play again';
      $('play').disabled = false;
      say('The show has ended.');
      document.title = 'Tessary: the end';
    },
  };
})();

var Module = {
  canvas: document.getElementById('canvas'),
  print: (line) => console.log(line),
  printErr: (line) => console.error(line),
  onRuntimeInitialized: () => tessaryPage.ready(),
  onAbort: (what) => {
    document.getElementById('start').hidden = false;
    document.getElementById('message').textContent = 'The player stopped: ' + what;
  },
};
