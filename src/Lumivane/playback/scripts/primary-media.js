// Defines window.__lumivanePrimaryMedia: the page's main video or audio element, searched in
// the document and in readable iframes down to frame depth 2.
(function () {
  try {
    if (window.__lumivanePrimaryMedia) return;
    var selector = __LUMIVANE_SELECTOR__;
    var maxFrameDepth = 2;

    var addAll = function (doc, query, found) {
      try {
        var list = doc.querySelectorAll(query);
        for (var i = 0; i < list.length; i++) found.push(list[i]);
      } catch (e) {}
    };

    var collect = function (doc, depth, found) {
      if (selector) addAll(doc, selector, found);
      addAll(doc, 'video, audio', found);
      if (depth >= maxFrameDepth) return;
      var frames = [];
      addAll(doc, 'iframe', frames);
      for (var i = 0; i < frames.length; i++) {
        var inner = null;
        try { inner = frames[i].contentDocument; } catch (e) {}
        if (inner) collect(inner, depth + 1, found);
      }
    };

    var score = function (el) {
      var value = 0;
      try {
        if (!el.paused) value += 1000000;
        if (el.readyState > 0) value += 100000;
        var box = el.getBoundingClientRect();
        value += Math.max(0, box.width) * Math.max(0, box.height);
      } catch (e) {}
      return value;
    };

    window.__lumivanePrimaryMedia = function () {
      try {
        var found = [];
        collect(document, 0, found);
        var media = [];
        for (var i = 0; i < found.length; i++) {
          var el = found[i];
          var tag = el && el.tagName;
          if ((tag === 'VIDEO' || tag === 'AUDIO') && media.indexOf(el) < 0) media.push(el);
        }
        var best = null;
        var bestScore = -1;
        for (var j = 0; j < media.length; j++) {
          var s = score(media[j]);
          if (s > bestScore) { best = media[j]; bestScore = s; }
        }
        return best;
      } catch (e) {
        return null;
      }
    };
  } catch (e) {}
})()
;
// Shared by the style scripts that follow in the same source: adds one style element by id
// to the head (now, or once the document has one), and for watchMs re-adds it whenever the
// page rebuilds its head.
(function () {
  try {
    if (window.__lumivaneAttachStyle) return;
    window.__lumivaneAttachStyle = function (id, css, watchMs) {
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
      if (!watchMs) return;
      try {
        var observer = new MutationObserver(attach);
        observer.observe(document.documentElement || document, { childList: true, subtree: true });
        setTimeout(function () { observer.disconnect(); }, watchMs);
      } catch (e) {}
    };
  } catch (e) {}
})()
