// The primary media element's state as JSON text, or '' when there is none.
(function () {
  try {
    var v = window.__lumivanePrimaryMedia ? window.__lumivanePrimaryMedia() : document.querySelector('video');
    if (!v) return '';
    // Pages can hand out anything; only finite numbers go into the record.
    var num = function (x) { return (typeof x === 'number' && Number.isFinite(x)) ? x : 0; };
    var d = Number.isFinite(v.duration) ? v.duration : 0;
    var ad = !!document.querySelector(
      '.ad-showing, .ytp-ad-player-overlay, [data-a-target="video-ad-countdown"], .video-ad-countdown');
    return JSON.stringify({
      t: num(v.currentTime || 0),
      d: num(d),
      p: !!v.paused,
      en: !!v.ended,
      rs: num(v.readyState || 0),
      se: !!v.seekable && v.seekable.length > 0,
      ad: ad,
      vw: num(v.videoWidth || 0),
      vh: num(v.videoHeight || 0)
    });
  } catch (e) {
    return '';
  }
})()
