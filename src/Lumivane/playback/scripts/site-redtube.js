// RedTube: the player fills the window below the age and cookie dialogs.
(function () {
  try {
    if (window.__lumivaneRT) return;
    window.__lumivaneRT = true;
    var id = 'kt-site-redtube';
    var css = [
      '.footer, footer, #under-player-comments, .video-wrapper.js-commentReplacement, .related_videos, #related_videos { display: none !important; }',
      '#redtube-player, #redtube-player.original, .mgp_videoWrapper {',
      '  position: fixed !important; inset: 0 !important; width: 100vw !important;',
      '  height: 100vh !important; background: #000 !important; z-index: 9998 !important;',
      '}',
      '.mgp_videoElement {',
      '  width: 100% !important; height: 100% !important; object-fit: contain !important;',
      '}',
      '#ageDisclaimerMainBG, #js-ageDisclaimerModal, #modalWrapMTubes, #age_disclaimer, #underAgeWrapper, #cookie_consent_wrapper, [role="dialog"], [aria-modal="true"] { z-index: 2147483600 !important; }'
    ].join('\n');
    window.__lumivaneAttachStyle(id, css, 0);
  } catch (e) {}
})()
