// The player's controls acting on the page. Called with an operation name and a value (a
// number or a boolean): toggle, seek (seconds), volume (0..1, muted near zero), speed (rate),
// loop (on), danmaku (hide bilibili's comments). Works on the primary media element, or on
// the first video while the page scripts are not in the page yet.
(function (op, value) {
  try {
    if (op === 'danmaku') {
      document.documentElement.classList.toggle('kt-hide-danmaku', value === true);
      return;
    }
    var el = window.__lumivanePrimaryMedia ? window.__lumivanePrimaryMedia() : document.querySelector('video');
    if (!el) return;
    if (op === 'toggle') {
      if (el.paused) {
        var started = el.play();
        if (started && started.catch) started.catch(function () {});
      } else {
        el.pause();
      }
    } else if (op === 'seek') {
      var end = Number.isFinite(el.duration) ? el.duration : value;
      el.currentTime = Math.max(0, Math.min(end, value));
    } else if (op === 'volume') {
      el.volume = value;
      el.muted = value <= 0.001;
    } else if (op === 'speed') {
      el.playbackRate = value;
    } else if (op === 'loop') {
      el.loop = value === true;
    }
  } catch (e) {}
})
