// QQ Music: the play bar sits at the bottom edge.
(function () {
  try {
    if (window.__lumivaneQQ) return;
    window.__lumivaneQQ = true;
    var id = 'kt-site-qqmusic';
    var css = [
      '.mod_header, .mod_top_nav, .mod_footer, .footer, .footer_download { display: none !important; }',
      '.player__ft, .player__bar, .mod_player {',
      '  position: fixed !important; left: 0 !important; right: 0 !important; bottom: 0 !important;',
      '  z-index: 2147483000 !important;',
      '}',
      'html, body { overflow-x: hidden !important; }'
    ].join('\n');
    window.__lumivaneAttachStyle(id, css, 0);
  } catch (e) {}
})()
