// Hover lookup, in every page and frame: when the reader's mouse has rested
// on a word (400 ms unless the settings say otherwise, with a key held if
// they ask for one), the text around it goes to the side panel, whose
// engine reads the word there (and the phrase it stands in); the word then
// stays highlighted until the next one. The page is only read: its DOM, its
// listeners and its layout stay as they are (the highlight is the browser's
// own, not an element). While no panel is open, with hover switched off,
// or on a site where the reader switched it off, the mouse is not watched.
(() => {
  const HIGHLIGHT = 'vordo-word';
  // Text taken on either side of the rest: room for a phrase around the
  // word, and for the word itself up to the panel field's 255 characters.
  const CONTEXT_UNITS = 256;
  // What a rest may fall on to be worth a lookup: letters, marks, digits,
  // and the apostrophes, hyphens and soft hyphens that words hold inside.
  const WORD_CHARACTER = /[\p{L}\p{M}\p{Nd}'\u2019\u00B4\u02BC\-\u2010\u2011\u00AD]/u;
  // Elements that words run through: a word may start in one and end in the
  // next (<b>W</b>ord). Any other display, and these elements, end a word.
  const INLINE_DISPLAYS = new Set(['inline', 'contents', 'ruby', 'ruby-base']);
  const BREAKING_ELEMENTS = new Set(['br', 'img', 'input', 'textarea', 'select', 'button', 'iframe',
    'object', 'embed', 'video', 'audio', 'canvas', 'svg', 'math', 'hr', 'wbr']);
  // Text that is not shown as text of the page.
  const UNSHOWN_ELEMENTS = new Set(['script', 'style', 'template', 'noscript', 'rt', 'rp']);

  let timer = 0;
  let rest = null;  // where the mouse stopped: { x, y, shadowRoots }
  let settings = VordoSettings.DEFAULTS;
  let panelOpen = false;
  const MODIFIER_HELD = { Shift: 'shiftKey', Alt: 'altKey', Control: 'ctrlKey' };

  // The site as the settings name it: the host of the tab's top page, also
  // in a frame of another origin.
  const site = (() => {
    const origins = location.ancestorOrigins;
    return VordoSettings.siteOf(origins?.length ? origins[origins.length - 1] : location.href);
  })();

  // Nothing is looked up where the user writes: in form fields, in editable
  // elements and in documents in design mode. Text straight inside a shadow
  // root belongs to the root's host.
  function isEditable(node) {
    const element = node.parentElement ?? node.parentNode?.host;
    if (document.designMode === 'on') return true;
    return element !== undefined &&
        (element.isContentEditable || element.closest('input, textarea, select') !== null);
  }

  // The text of one rest's surroundings, read once: computed styles are
  // asked of each element at most once.
  class Surroundings {
    constructor() {
      this.displays = new Map();
    }

    display(element) {
      let display = this.displays.get(element);
      if (display === undefined) {
        display = getComputedStyle(element).display;
        this.displays.set(element, display);
      }
      return display;
    }

    endsWords(element) {
      return BREAKING_ELEMENTS.has(element.localName) || !INLINE_DISPLAYS.has(this.display(element));
    }

    // The nearest ancestor that words do not run out of: a block, a cell,
    // or the root of the node's tree.
    container(node) {
      let container = node.parentNode;
      while (container instanceof Element && !this.endsWords(container) && container.parentNode) {
        container = container.parentNode;
      }
      return container;
    }

    // Whether a text node met on the way back lies inside an element that
    // ends words, below what it shares with the node of the rest.
    behindABreak(text, restNode) {
      for (let element = text.parentElement; element && !element.contains(restNode);
        element = element.parentElement) {
        if (this.endsWords(element)) return true;
      }
      return false;
    }

    // The text around character `at` of text node `node`, as far as words
    // run: { text, at, pieces } with `at` its index there and `pieces` the
    // text nodes it was read from ({ node, start, offset }: the node's
    // character `offset` is the text's `start`), or null.
    read(node, at) {
      const root = this.container(node);
      const walker = document.createTreeWalker(root, NodeFilter.SHOW_ELEMENT | NodeFilter.SHOW_TEXT, {
        acceptNode: (candidate) => (candidate.nodeType === Node.ELEMENT_NODE &&
            (UNSHOWN_ELEMENTS.has(candidate.localName) || this.display(candidate) === 'none'))
          ? NodeFilter.FILTER_REJECT : NodeFilter.FILTER_ACCEPT,
      });
      const before = [];  // nearest first
      let beforeLength = at;
      walker.currentNode = node;
      for (let previous = walker.previousNode(); previous && beforeLength < CONTEXT_UNITS;
        previous = walker.previousNode()) {
        if (previous.nodeType === Node.TEXT_NODE) {
          if (this.behindABreak(previous, node)) break;
          before.push(previous);
          beforeLength += previous.length;
        } else if (!previous.contains(node) && this.endsWords(previous)) {
          break;
        }
      }
      const after = [];
      let afterLength = node.length - at;
      walker.currentNode = node;
      for (let next = walker.nextNode(); next && afterLength < CONTEXT_UNITS; next = walker.nextNode()) {
        if (next.nodeType === Node.TEXT_NODE) {
          after.push(next);
          afterLength += next.length;
        } else if (this.endsWords(next)) {
          break;
        }
      }
      // The text runs from CONTEXT_UNITS before the rest to as many after.
      const cut = Math.max(beforeLength - CONTEXT_UNITS, 0);
      const pieces = [];
      let length = -cut;
      for (const text of [...before.reverse(), node, ...after]) {
        const offset = Math.max(-length, 0);
        if (offset < text.length) pieces.push({ node: text, start: Math.max(length, 0), offset });
        length += text.length;
      }
      const restAt = beforeLength - cut;
      const text = pieces.map((p) => p.node.data.slice(p.offset)).join('').slice(0, restAt + CONTEXT_UNITS);
      return { text, at: restAt, pieces };
    }
  }

  // Highlights code units [begin, end) of text read from `pieces`, until the
  // next lookup. Nothing of the page changes: a highlight is no element.
  function highlight(pieces, begin, end) {
    const point = (index) => {
      const piece = pieces.findLast((p) => p.start <= index);
      return piece && [piece.node, Math.min(piece.offset + index - piece.start, piece.node.length)];
    };
    const from = point(begin);
    const to = point(end);
    if (!from || !to || !globalThis.CSS?.highlights) return;
    const range = new StaticRange({ startContainer: from[0], startOffset: from[1], endContainer: to[0],
      endOffset: to[1] });
    CSS.highlights.set(HIGHLIGHT, new Highlight(range));
  }

  // The character of text node `node` near caret offset `offset` whose box
  // holds the point, or -1.
  function characterAt(node, offset, x, y) {
    const range = document.createRange();
    for (const start of [offset, offset - 1]) {
      if (start < 0 || start >= node.length) continue;
      range.setStart(node, start);
      range.setEnd(node, start + 1);
      for (const box of range.getClientRects()) {
        if (x >= box.left && x < box.right && y >= box.top && y < box.bottom) return start;
      }
    }
    return -1;
  }

  // The text around the word under the point, or null when the point lies
  // on no word. The caret is the nearest to the point, so it is found also
  // beside the text; the character's box decides.
  function textAt({ x, y, shadowRoots }) {
    const caret = document.caretPositionFromPoint(x, y, { shadowRoots });
    const node = caret?.offsetNode;
    if (!node || node.nodeType !== Node.TEXT_NODE || isEditable(node)) return null;
    const at = characterAt(node, caret.offset, x, y);
    if (at < 0 || !WORD_CHARACTER.test(String.fromCodePoint(node.data.codePointAt(at)))) return null;
    return new Surroundings().read(node, at);
  }

  function onRest() {
    timer = 0;
    const around = textAt(rest);
    if (around === null) return;
    try {
      chrome.runtime.sendMessage({ type: 'hover', text: around.text, at: around.at }).then((place) => {
        // The panel answers with where the word it showed stands in the text.
        if (Number.isInteger(place?.begin) && Number.isInteger(place?.end) && place.begin < place.end &&
            place.end <= around.text.length) {
          highlight(around.pieces, place.begin, place.end);
        }
      }, () => {});
    } catch {
      stopWatching();  // the extension was reloaded or removed
    }
  }

  function modifierHeld(event) {
    return settings.modifier === 'none' || event[MODIFIER_HELD[settings.modifier]] === true;
  }

  function startTimer() {
    clearTimeout(timer);
    timer = setTimeout(onRest, settings.restMs);
  }

  function onMouseMove(event) {
    // Only the reader's own mouse: the page's scripts can make events too.
    if (!event.isTrusted) return;
    // Open shadow roots on the way to the target and those of the elements
    // on it (text straight inside a root makes its host the target), so that
    // the caret is found inside them rather than at their host.
    const shadowRoots = new Set();
    for (const node of event.composedPath()) {
      if (node instanceof ShadowRoot) shadowRoots.add(node);
      else if (node.shadowRoot) shadowRoots.add(node.shadowRoot);
    }
    rest = { x: event.clientX, y: event.clientY, shadowRoots: [...shadowRoots] };
    clearTimeout(timer);
    if (modifierHeld(event)) startTimer();
  }

  // The key that hover waits for, pressed while the mouse already rests.
  function onKeyDown(event) {
    if (event.isTrusted && rest !== null && !event.repeat && event.key === settings.modifier) startTimer();
  }

  // The mouse left the document: it rests on nothing here.
  function onMouseOut(event) {
    if (event.isTrusted && event.relatedTarget === null) {
      clearTimeout(timer);
      timer = 0;
    }
  }

  let watching = false;
  function startWatching() {
    if (watching) return;
    watching = true;
    addEventListener('mousemove', onMouseMove, { capture: true, passive: true });
    addEventListener('keydown', onKeyDown, { capture: true, passive: true });
    document.addEventListener('mouseout', onMouseOut, { capture: true, passive: true });
  }

  function stopWatching() {
    if (!watching) return;
    watching = false;
    clearTimeout(timer);
    timer = 0;
    rest = null;
    removeEventListener('mousemove', onMouseMove, { capture: true });
    removeEventListener('keydown', onKeyDown, { capture: true });
    document.removeEventListener('mouseout', onMouseOut, { capture: true });
    CSS.highlights?.delete(HIGHLIGHT);
  }

  function watchWhenWanted() {
    if (panelOpen && settings.hover && !settings.offSites.includes(site)) startWatching();
    else stopWatching();
  }

  // The service worker keeps the windows with an open panel in the session
  // storage: read once here and followed, with no message per frame. The
  // mouse is watched while any window has a panel; a panel takes only the
  // words of its own window.
  function follow(panelWindows) {
    panelOpen = Array.isArray(panelWindows) && panelWindows.length > 0;
    watchWhenWanted();
  }

  function readPanelWindows() {
    chrome.storage.session.get('panelWindows').then(({ panelWindows }) => follow(panelWindows), () => {});
  }

  chrome.storage.session.onChanged.addListener((changes) => {
    if (changes.panelWindows) follow(changes.panelWindows.newValue);
  });
  readPanelWindows();
  function applySettings(next) {
    settings = next;
    watchWhenWanted();
  }
  VordoSettings.read().then(applySettings, () => {});
  VordoSettings.follow(applySettings);

  // The panel asks the top page which site its tab shows, to switch hover
  // there.
  if (window === top) {
    chrome.runtime.onMessage.addListener((message, sender, sendResponse) => {
      if (message?.type === 'site' && sender.id === chrome.runtime.id) sendResponse({ site });
    });
  }
  // A page back from the back-forward cache missed the changes meanwhile.
  addEventListener('pageshow', (event) => {
    if (event.persisted) readPanelWindows();
  });
})();
