// Bilibili videos: the player fills the window. Its column (.left-container) stays visible.
(function () {
  try {
    if (window.__lumivaneBL) return;
    window.__lumivaneBL = true;
    var id = 'kt-site-bilibili';
    var css = [
      '.bili-header, .international-header, #biliMainHeader, .mini-header, .bili-footer, #comment, .recommend-list-v1, .video-page-special-card, .bpx-player-sending-area, .video-info-container, .video-toolbar-container, .right-container, .fixed-tools, .bili-fixed-tools { display: none !important; }',
      '#bilibili-player, .bpx-player-container {',
      '  position: fixed !important; inset: 0 !important; width: 100vw !important;',
      '  height: 100vh !important; background: #000 !important; z-index: 9998 !important; max-width: 100vw !important;',
      '}',
      'html, body { min-width: 0 !important; width: 100% !important; overflow: hidden !important; }',
      '#mirror-vdcon, .left-container, .video-container, .video-container-v1 {',
      '  width: 100% !important; max-width: 100vw !important; min-width: 0 !important;',
      '  margin: 0 !important; padding: 0 !important; height: 100vh !important;',
      '}',
      '#bilibili-player video, .bpx-player-container video { object-fit: contain !important; }'
    ].join('\n');
    window.__lumivaneAttachStyle(id, css, 0);
  } catch (e) {}
})()
