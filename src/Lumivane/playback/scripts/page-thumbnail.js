// The page's preview image as an absolute http(s) URL, or ''.
(function () {
  try {
    var selectors = [
      'meta[property="og:image"]',
      'meta[property="og:image:url"]',
      'meta[name="twitter:image"]',
      'meta[name="twitter:image:src"]',
      'meta[itemprop="image"]',
      'link[rel="image_src"]'
    ];
    var el = null;
    for (var i = 0; i < selectors.length && !el; i++) el = document.querySelector(selectors[i]);
    if (!el) return '';
    var raw = el.getAttribute('content') || el.getAttribute('href');
    if (!raw) return '';
    var url = new URL(raw, document.baseURI);
    return (url.protocol === 'http:' || url.protocol === 'https:') ? url.href : '';
  } catch (e) {
    return '';
  }
})()
