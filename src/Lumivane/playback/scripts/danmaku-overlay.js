// Bilibili: the comment overlay is hidden while the root has kt-hide-danmaku.
(function () {
  try {
    if (window.__lumivaneDM) return;
    window.__lumivaneDM = true;
    var id = 'kt-danmaku-hide';
    var css = [
      'html.kt-hide-danmaku .bpx-player-row-dm-wrap, html.kt-hide-danmaku .bpx-player-adv-dm-wrap, html.kt-hide-danmaku .bpx-player-bas-dm-wrap, html.kt-hide-danmaku .bpx-player-render-dm-wrap, html.kt-hide-danmaku .bpx-player-cmd-dm-wrap, html.kt-hide-danmaku .bpx-player-cmd-dm-inside, html.kt-hide-danmaku .bpx-player-dm-mask-wrap, html.kt-hide-danmaku .bpx-player-dm-report-wrap, html.kt-hide-danmaku #danmukuBox, html.kt-hide-danmaku .danmaku-box, html.kt-hide-danmaku .dm-text, html.kt-hide-danmaku .bilibili-player-video-danmaku, html.kt-hide-danmaku .bas-danmaku, html.kt-hide-danmaku .bili-danmaku-x-dm { display: none !important; }'
    ].join('\n');
    window.__lumivaneAttachStyle(id, css, 4000);
  } catch (e) {}
})()
