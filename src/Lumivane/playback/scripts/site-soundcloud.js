// SoundCloud: the header and announcements go.
(function () {
  try {
    if (window.__lumivaneSC) return;
    window.__lumivaneSC = true;
    var id = 'kt-site-soundcloud';
    var css = [
      'header.header, .announcements, .m-hideHeader .header { display: none !important; }',
      'html, body { overflow-x: hidden !important; }'
    ].join('\n');
    window.__lumivaneAttachStyle(id, css, 0);
  } catch (e) {}
})()
