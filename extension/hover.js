// Hover lookup, in every page and frame: when the reader's mouse has rested
// for 400 ms on a word, the text around it goes to the side panel, whose
// engine reads the word there (and the phrase it stands in). The page is
// only read: its DOM, its listeners and its layout stay as they are. While
// no panel is open the mouse is not watched at all.
(() => {
  const REST_MS = 400;
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
    // run: { text, at } with `at` its index there, or null.
    read(node, at) {
      const root = this.container(node);
      const walker = document.createTreeWalker(root, NodeFilter.SHOW_ELEMENT | NodeFilter.SHOW_TEXT, {
        acceptNode: (candidate) => (candidate.nodeType === Node.ELEMENT_NODE &&
            (UNSHOWN_ELEMENTS.has(candidate.localName) || this.display(candidate) === 'none'))
          ? NodeFilter.FILTER_REJECT : NodeFilter.FILTER_ACCEPT,
      });
      let before = node.data.slice(0, at);
      walker.currentNode = node;
      for (let previous = walker.previousNode(); previous && before.length < CONTEXT_UNITS;
        previous = walker.previousNode()) {
        if (previous.nodeType === Node.TEXT_NODE) {
          if (this.behindABreak(previous, node)) break;
          before = previous.data + before;
        } else if (!previous.contains(node) && this.endsWords(previous)) {
          break;
        }
      }
      let after = node.data.slice(at);
      walker.currentNode = node;
      for (let next = walker.nextNode(); next && after.length < CONTEXT_UNITS; next = walker.nextNode()) {
        if (next.nodeType === Node.TEXT_NODE) after += next.data;
        else if (this.endsWords(next)) break;
      }
      before = before.slice(-CONTEXT_UNITS);
      return { text: before + after.slice(0, CONTEXT_UNITS), at: before.length };
    }
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
      chrome.runtime.sendMessage({ type: 'hover', text: around.text, at: around.at }).catch(() => {});
    } catch {
      stopWatching();  // the extension was reloaded or removed
    }
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
    timer = setTimeout(onRest, REST_MS);
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
    document.addEventListener('mouseout', onMouseOut, { capture: true, passive: true });
  }

  function stopWatching() {
    if (!watching) return;
    watching = false;
    clearTimeout(timer);
    timer = 0;
    removeEventListener('mousemove', onMouseMove, { capture: true });
    document.removeEventListener('mouseout', onMouseOut, { capture: true });
  }

  // The service worker keeps the windows with an open panel in the session
  // storage: read once here and followed, with no message per frame. The
  // mouse is watched while any window has a panel; a panel takes only the
  // words of its own window.
  function follow(panelWindows) {
    if (Array.isArray(panelWindows) && panelWindows.length > 0) startWatching();
    else stopWatching();
  }

  function readPanelWindows() {
    chrome.storage.session.get('panelWindows').then(({ panelWindows }) => follow(panelWindows), () => {});
  }

  chrome.storage.session.onChanged.addListener((changes) => {
    if (changes.panelWindows) follow(changes.panelWindows.newValue);
  });
  readPanelWindows();
  // A page back from the back-forward cache missed the changes meanwhile.
  addEventListener('pageshow', (event) => {
    if (event.persisted) readPanelWindows();
  });
})();
