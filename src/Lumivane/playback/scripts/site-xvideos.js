// XVideos: the player fills the window below the age and cookie dialogs.
(function () {
  try {
    if (window.__lumivaneXV) return;
    window.__lumivaneXV = true;
    var id = 'kt-site-xvideos';
    var css = [
      '.head__top, header.head__top__container, #nav, #mobile-header-links, footer, #footer, .comments, .tab-button, #video-tags-list, .top-right-tags { display: none !important; }',
      '#html5video, #video-player-bg {',
      '  position: fixed !important; inset: 0 !important; width: 100vw !important;',
      '  height: 100vh !important; background: #000 !important; z-index: 9998 !important;',
      '}',
      '#html5video video {',
      '  width: 100% !important; height: 100% !important; object-fit: contain !important;',
      '}',
      '#ageDisclaimerMainBG, #js-ageDisclaimerModal, #modalWrapMTubes, #age_disclaimer, #underAgeWrapper, #cookie_consent_wrapper, [role="dialog"], [aria-modal="true"] { z-index: 2147483600 !important; }'
    ].join('\n');
    window.__lumivaneAttachStyle(id, css, 0);
  } catch (e) {}
})()
