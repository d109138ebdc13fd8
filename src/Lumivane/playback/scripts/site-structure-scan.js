// Debug aid for Bilibili pages: what the log-in prompts, fixed elements and comment layers
// look like, as JSON text.
(function () {
  try {
    var classOf = function (el) {
      var cls = el.getAttribute && el.getAttribute('class');
      return cls || '';
    };
    var label = function (el) { return el.tagName.toLowerCase() + '.' + classOf(el); };
    var path = function (el) {
      var parts = [];
      for (var node = el; node && node.tagName && parts.length < 5; node = node.parentElement)
        parts.push(label(node));
      return parts.join(' < ');
    };
    var all = document.querySelectorAll('*');
    var loginText = [];
    var leaves = document.querySelectorAll('div, span, a, button');
    for (var i = 0; i < leaves.length && loginText.length < 4; i++) {
      var leaf = leaves[i];
      if (leaf.children.length === 0 && (leaf.innerText || '').trim() === '免费享高清视频')
        loginText.push(path(leaf));
    }
    var matching = function (words, limit) {
      var found = [];
      for (var j = 0; j < all.length && found.length < limit; j++) {
        var cls = classOf(all[j]);
        for (var k = 0; k < words.length; k++) {
          if (cls.indexOf(words[k]) >= 0) { found.push(label(all[j])); break; }
        }
      }
      return found;
    };
    return JSON.stringify({
      url: location.href,
      loginText: loginText,
      fixed: matching(['fixed', 'Fixed'], 12),
      dm: matching(['danmaku', 'Danmaku', 'dm-', 'dm_'], 12),
      login: matching(['login', 'Login', 'toast', 'Toast'], 15)
    });
  } catch (e) {
    return '';
  }
})()
