// Seeks the page's main video to the target and plays it; YouTube's player video first.
(function () {
  try {
    var target = __LUMIVANE_TARGET__;
    var v = null;
    try { v = document.querySelector('#movie_player video, ytd-player video'); } catch (e) {}
    if (!v) v = window.__lumivanePrimaryMedia ? window.__lumivanePrimaryMedia() : document.querySelector('video');
    if (!v) return;
    try { v.currentTime = target; } catch (e) {}
    try {
      var started = v.play();
      if (started && started.catch) started.catch(function () {});
    } catch (e) {}
  } catch (e) {}
})()
