// Bilibili: the comment overlay is hidden while the root has kt-hide-danmaku.
(function () {
  try {
    if (window.__lumivaneDM) return;
    window.__lumivaneDM = true;
    var id = 'kt-danmaku-hide';
    var css = [
      'html.kt-hide-danmaku .bpx-player-row-dm-wrap, html.kt-hide-danmaku .bpx-player-adv-dm-wrap, html.kt-hide-danmaku .bpx-player-bas-dm-wrap, html.kt-hide-danmaku .bpx-player-render-dm-wrap, html.kt-hide-danmaku .bpx-player-cmd-dm-wrap, html.kt-hide-danmaku .bpx-player-cmd-dm-inside, html.kt-hide-danmaku .bpx-player-dm-mask-wrap, html.kt-hide-danmaku .bpx-player-dm-report-wrap, html.kt-hide-danmaku #danmukuBox, html.kt-hide-danmaku .danmaku-box, html.kt-hide-danmaku .dm-text, html.kt-hide-danmaku .bilibili-player-video-danmaku, html.kt-hide-danmaku .bas-danmaku, html.kt-hide-danmaku .bili-danmaku-x-dm { display: none !important; }'
    ].join('\n');
    var attach = function () {
      try {
        if (!document.head || document.getElementById(id)) return;
        var style = document.createElement('style');
        style.id = id;
        style.textContent = css;
        document.head.appendChild(style);
      } catch (e) {}
    };
    if (document.head) attach(); else document.addEventListener('DOMContentLoaded', attach);
    try {
      var observer = new MutationObserver(attach);
      observer.observe(document.documentElement || document, { childList: true, subtree: true });
      setTimeout(function () { observer.disconnect(); }, 4000);
    } catch (e) {}
  } catch (e) {}
})()
