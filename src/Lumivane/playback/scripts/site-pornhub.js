// Pornhub: the player fills the window below the age and cookie dialogs, which stay clickable.
(function () {
  try {
    if (window.__lumivanePH) return;
    window.__lumivanePH = true;
    var id = 'kt-site-pornhub';
    var css = [
      'header, header#header, #leftMenuScroll, .menuWrapper.menuSection.leftMenu, .headerContainerColumn, .headerContainer, .js-mainFooter, footer, .videoList, .relatedOutstream, .relatedAddition, .commentsHeading, .commentsTab, .tags, .shareLinks, .abovePlayerButtons, .abovePlayerButtonsWrapper, .ctasActionMenuWrap { display: none !important; }',
      '#player, .playerWrapper, .videoWrapper {',
      '  position: fixed !important; inset: 0 !important; width: 100vw !important;',
      '  height: 100vh !important; background: #000 !important; z-index: 9998 !important;',
      '}',
      '.mgp_videoElement {',
      '  width: 100% !important; height: 100% !important; object-fit: contain !important;',
      '}',
      '#ageDisclaimerMainBG, #js-ageDisclaimerModal, #modalWrapMTubes, #age_disclaimer, #underAgeWrapper, #cookie_consent_wrapper, [role="dialog"], [aria-modal="true"], #ageDisclaimerOverlay, [class*="ageDisclaimer"], [class*="age-disclaimer"], [class*="age_verification"], [class*="age-verification"], [class*="agegate"], [class*="age-gate"], [class*="ageGate"], [class*="cookie"] { z-index: 2147483600 !important; }'
    ].join('\n');
    window.__lumivaneAttachStyle(id, css, 0);
  } catch (e) {}
})()
