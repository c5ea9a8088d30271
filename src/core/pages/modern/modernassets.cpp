#include "core/pages/modern/modernassets.h"

namespace tessaly {

const char* const kModernStyleSheetName = "tessaly.css";
const char* const kModernScriptName = "tessaly.js";

namespace {

// Colours: light by default, dark when the visitor prefers it, unless the page has colours
// of its own (the "fixed-colours" class and its inline variables). The grid holds as many
// columns as fit, at most --row of them. The lightbox shows a photo at its own size, shrunk
// (its shape kept) to the space between the counter and its caption when it is larger, never
// enlarged.
const char* const kStyleSheet = R"css(:root {
  color-scheme: light dark;
  --bg: #f6f6f3; --fg: #1c1c1c; --muted: #555; --card: #fff; --line: #d6d6d6;
  --accent: #0a58ca;
  --cell: 110px; --row: 5; --pad: 8px; --gap: 12px;
  --wide: calc(var(--row) * (var(--cell) + 2 * var(--pad) + 2px) + (var(--row) - 1) * var(--gap));
}
:root.fixed-colours { color-scheme: light; }
@media (prefers-color-scheme: dark) {
  :root:not(.fixed-colours) {
    --bg: #131313; --fg: #ececec; --muted: #b5b5b5; --card: #1e1e1e; --line: #3c3c3c;
    --accent: #8ab4f8;
  }
}
*, *::before, *::after { box-sizing: border-box; }
html { -webkit-text-size-adjust: 100%; text-size-adjust: 100%; }
body {
  margin: 0; background: var(--bg); color: var(--fg); line-height: 1.6;
  font-family: system-ui, -apple-system, "Hiragino Sans", "Noto Sans CJK JP", "Yu Gothic", sans-serif;
}
a { color: inherit; }
a:focus-visible, button:focus-visible { outline: 3px solid var(--accent); outline-offset: 3px; }
.page-head, main, .page-foot {
  width: 100%; max-width: calc(var(--wide) + 2rem); margin: 0 auto; padding: 0 1rem;
}
.page-head h1 { font-size: clamp(1.4rem, 5vw, 2rem); margin: 1.2rem 0 .2rem; overflow-wrap: anywhere; }
.page-head p { margin: 0 0 .8rem; color: var(--muted); overflow-wrap: anywhere; }
.slideshow { display: none; }
.js .slideshow {
  display: inline-block; margin: 0 0 1rem; padding: .4rem 1.1rem; font: inherit;
  color: var(--fg); background: var(--card); border: 1px solid var(--line); border-radius: 999px;
  cursor: pointer;
}
.grid {
  list-style: none; margin: 0; padding: 0; display: grid; gap: var(--gap);
  grid-template-columns: repeat(auto-fill, minmax(min(100%, calc(var(--cell) + 2 * var(--pad) + 2px)), 1fr));
}
.grid li {
  min-width: 0; padding: var(--pad); background: var(--card); border: 1px solid var(--line);
  border-radius: 8px; display: flex; flex-direction: column; align-items: center;
  justify-content: center;
}
.grid a { display: block; line-height: 0; border-radius: 4px; }
.grid img { display: block; max-width: 100%; height: auto; border-radius: 4px; }
.grid .caption { margin: .4rem 0 0; font-size: .85rem; text-align: center; overflow-wrap: anywhere; }
.contents .grid a { line-height: 1.5; text-align: center; }
.contents .grid a img { margin: 0 auto .3rem; }
.contents .grid .caption { display: block; margin: 0; overflow-wrap: anywhere; }
.contents .grid .count { margin: .2rem 0 0; font-size: .8rem; text-align: center; color: var(--muted); }
.page-foot { margin-top: 1.5rem; padding-bottom: 1.5rem; text-align: right; color: var(--muted); }
.lightbox {
  border: 0; padding: 0; margin: 0; width: 100%; max-width: 100%; height: 100%; max-height: 100%;
  background: #000; color: #fff; overflow: hidden;
}
.lightbox::backdrop { background: #000; }
.lightbox figure {
  margin: 0; height: 100%; padding: 3.5rem .5rem .5rem; display: grid; align-content: center;
  justify-items: center; grid-template: minmax(0, auto) auto / minmax(0, 1fr);
}
.lightbox img {
  display: block; width: auto; height: auto; max-width: 100%; max-height: 100%;
  transition: opacity .25s;
}
.lightbox figcaption { min-height: 1.6em; margin: .5rem 1rem 0; text-align: center; overflow-wrap: anywhere; }
.lightbox .counter { position: absolute; left: .75rem; top: .6rem; margin: 0; }
.lightbox button {
  position: absolute; width: 3rem; height: 3rem; font-size: 1.5rem; line-height: 1; color: #fff;
  background: rgba(0, 0, 0, .55); border: 1px solid rgba(255, 255, 255, .7); border-radius: 50%;
  cursor: pointer;
}
.lightbox button:focus-visible { outline-color: #8ab4f8; }
.lightbox .prev { left: .5rem; top: calc(50% - 1.5rem); }
.lightbox .next { right: .5rem; top: calc(50% - 1.5rem); }
.lightbox .close { right: .5rem; top: .5rem; }
@media (hover: hover) { .grid a img { transition: transform .2s; } .grid a:hover img { transform: scale(1.03); } }
@media (prefers-reduced-motion: reduce) {
  *, *::before, *::after { transition: none !important; animation: none !important; scroll-behavior: auto !important; }
}
)css";

// The lightbox over the grid's links: a click or Enter opens the photo, arrows and swipes
// move, Esc closes and gives the focus back to what opened it; the slide
// show runs it on the page's interval and pauses on any key, touch or click. Without the
// script every thumbnail stays a plain link to its photo.
const char* const kScript = R"js((function () {
  'use strict';
  var grid = document.querySelector('.photos');
  var box = document.getElementById('lightbox');
  if (!grid || !box || typeof box.showModal !== 'function') return;
  var links = Array.prototype.slice.call(grid.querySelectorAll('a.photo'));
  if (!links.length) return;
  var photo = document.getElementById('lightbox-photo');
  var caption = document.getElementById('lightbox-caption');
  var counter = document.getElementById('lightbox-counter');
  var buttons = Array.prototype.slice.call(box.querySelectorAll('button'));
  var start = document.getElementById('slideshow');
  var seconds = parseFloat(document.body.getAttribute('data-interval')) || 3;
  var index = 0, opener = null, timer = 0, touchX = null, touchY = 0;

  function show(i) {
    index = (i + links.length) % links.length;
    var link = links[index], thumb = link.querySelector('img');
    photo.src = link.getAttribute('href');
    photo.alt = thumb ? thumb.alt : '';
    caption.textContent = link.getAttribute('data-caption') || '';
    counter.textContent = (index + 1) + ' / ' + links.length;
    new Image().src = links[(index + 1) % links.length].getAttribute('href');
  }
  function open(i, from) {
    opener = from;
    show(i);
    if (!box.open) box.showModal();
  }
  function pause() {
    if (!timer) return;
    clearInterval(timer);
    timer = 0;
  }
  function trap(e) {
    var first = buttons[0], last = buttons[buttons.length - 1];
    var inside = buttons.indexOf(document.activeElement) >= 0;
    if (e.shiftKey && (document.activeElement === first || !inside)) {
      last.focus();
      e.preventDefault();
    } else if (!e.shiftKey && (document.activeElement === last || !inside)) {
      first.focus();
      e.preventDefault();
    }
  }
  links.forEach(function (link, i) {
    link.addEventListener('click', function (e) {
      if (e.button !== 0 || e.ctrlKey || e.metaKey || e.shiftKey || e.altKey) return;
      e.preventDefault();
      open(i, link);
    });
  });
  if (start) {
    start.addEventListener('click', function () {
      open(0, start);
      timer = setInterval(function () { show(index + 1); }, seconds * 1000);
    });
  }
  box.addEventListener('keydown', function (e) {
    pause();
    if (e.key === 'ArrowRight') {
      show(index + 1);
      e.preventDefault();
    } else if (e.key === 'ArrowLeft') {
      show(index - 1);
      e.preventDefault();
    } else if (e.key === 'Tab') {
      trap(e);
    }
  });
  box.addEventListener('pointerdown', pause);
  box.addEventListener('touchstart', function (e) {
    pause();
    touchX = e.touches[0].clientX;
    touchY = e.touches[0].clientY;
  }, { passive: true });
  box.addEventListener('touchend', function (e) {
    if (touchX === null) return;
    var dx = e.changedTouches[0].clientX - touchX, dy = e.changedTouches[0].clientY - touchY;
    touchX = null;
    if (Math.abs(dx) > 40 && Math.abs(dx) > Math.abs(dy)) show(index + (dx < 0 ? 1 : -1));
  });
  box.querySelector('.prev').addEventListener('click', function () { show(index - 1); });
  box.querySelector('.next').addEventListener('click', function () { show(index + 1); });
  box.querySelector('.close').addEventListener('click', function () { box.close(); });
  box.addEventListener('click', function (e) { if (e.target === box) box.close(); });
  box.addEventListener('close', function () {
    pause();
    photo.removeAttribute('src');
    if (opener) opener.focus();
  });
})();
)js";

}  // namespace

QByteArray modernStyleSheet() { return QByteArray(kStyleSheet); }
QByteArray modernScript() { return QByteArray(kScript); }

}  // namespace tessaly
