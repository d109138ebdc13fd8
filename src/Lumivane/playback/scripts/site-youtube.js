// YouTube: the player fills the window; advertisements are skipped, never seeked.
(function () {
  try {
    if (window.__lumivaneYT) return;
    window.__lumivaneYT = true;
    var id = 'kt-site-youtube';
    var css = [
      '#masthead-container, #secondary, #comments, #related, #below, ytd-live-chat-frame, #chat, #guide, ytd-miniplayer { display: none !important; }',
      '#movie_player, ytd-player, .html5-video-player, ytd-watch-flexy #player-container {',
      '  position: fixed !important; inset: 0 !important; width: 100vw !important;',
      '  height: 100vh !important; background: #000 !important; z-index: 999999 !important;',
      '}',
      'ytd-app, #content, #page-manager { margin: 0 !important; padding: 0 !important; }'
    ].join('\n');
    window.__lumivaneAttachStyle(id, css, 0);

    // Only visible buttons count: the site keeps hidden templates of them in the page.
    var skipSelector = '.ytp-ad-skip-button, .ytp-ad-skip-button-modern, .ytp-skip-ad-button';
    var visible = function (el) {
      try {
        if (el.disabled) return false;
        var box = el.getBoundingClientRect();
        if (box.width < 2 || box.height < 2) return false;
        var cs = window.getComputedStyle(el);
        return cs.visibility !== 'hidden' && cs.display !== 'none' && cs.opacity !== '0';
      } catch (e) {
        return false;
      }
    };
    var skipInterval = 800;
    var lastClickRound = -Infinity;
    var skipAds = function () {
      try {
        var now = Date.now();
        if (now - lastClickRound < skipInterval) return;
        var buttons = document.querySelectorAll(skipSelector);
        var clicked = false;
        for (var i = 0; i < buttons.length; i++) {
          if (!visible(buttons[i])) continue;
          try { buttons[i].click(); clicked = true; } catch (e) {}
        }
        if (clicked) lastClickRound = now;
      } catch (e) {}
    };
    skipAds();
    setInterval(skipAds, skipInterval);

    var playFirstVideo = function () {
      try {
        var video = document.querySelector('video');
        if (!video) return;
        if (video.paused) {
          var started = video.play();
          if (started && started.catch) started.catch(function () {});
        }
        video.muted = false;
      } catch (e) {}
    };
    if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', playFirstVideo);
    else playFirstVideo();
    setTimeout(playFirstVideo, 1200);
    setTimeout(playFirstVideo, 3000);
  } catch (e) {}
})()
