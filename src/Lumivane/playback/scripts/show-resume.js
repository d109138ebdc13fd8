// Resumes only the media elements the hide-pause script found playing.
(function () {
  try {
    var media = document.querySelectorAll('video,audio');
    for (var i = 0; i < media.length; i++) {
      var el = media[i];
      try {
        var wasPlaying = el.dataset.ktWasPlaying === '1';
        delete el.dataset.ktWasPlaying;
        if (wasPlaying) {
          var started = el.play();
          if (started && started.catch) started.catch(function () {});
        }
      } catch (e) {}
    }
  } catch (e) {}
})()
