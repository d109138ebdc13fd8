// xHamster: the player fills the window below the age and cookie dialogs.
(function () {
  try {
    if (window.__lumivaneXH) return;
    window.__lumivaneXH = true;
    var id = 'kt-site-xhamster';
    var css = [
      'header, footer, .header, .footer, [class*="sidebar"] { display: none !important; }',
      '.player-container, #player-container, .xplayer {',
      '  position: fixed !important; inset: 0 !important; width: 100vw !important;',
      '  height: 100vh !important; background: #000 !important; z-index: 9998 !important;',
      '}',
      '.xplayer video, #xplayer__video {',
      '  width: 100% !important; height: 100% !important; object-fit: contain !important;',
      '}',
      '#ageDisclaimerMainBG, #js-ageDisclaimerModal, #modalWrapMTubes, #age_disclaimer, #underAgeWrapper, #cookie_consent_wrapper, [role="dialog"], [aria-modal="true"] { z-index: 2147483600 !important; }'
    ].join('\n');
    window.__lumivaneAttachStyle(id, css, 0);
  } catch (e) {}
})()
