// Notes which media elements were playing, then pauses every one.
(function () {
  try {
    var media = document.querySelectorAll('video,audio');
    for (var i = 0; i < media.length; i++) {
      var el = media[i];
      try {
        el.dataset.ktWasPlaying = (!el.paused && !el.ended) ? '1' : '0';
        el.pause();
      } catch (e) {}
    }
  } catch (e) {}
})()
