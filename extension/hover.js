// Hover lookup, in every page and frame: when the mouse has rested for
// 400 ms on a word, the word goes to the side panel of this window. The page
// is only read: its DOM, its listeners and its layout stay as they are.
// While no panel is open in this window the mouse is not watched at all.
(() => {
  const REST_MS = 400;
  let timer = 0;
  let rest = null;  // where the mouse stopped: { x, y, shadowRoots }

  function isWordLetter(character) {
    return vordoWordLetters.has(character);
  }

  // Nothing is looked up where the user writes: in form fields, in editable
  // elements and in documents in design mode. Text straight inside a shadow
  // root belongs to the root's host.
  function isEditable(node) {
    const element = node.parentElement ?? node.parentNode?.host;
    if (document.designMode === 'on') return true;
    return element !== undefined &&
        (element.isContentEditable || element.closest('input, textarea, select') !== null);
  }

  // The word under the point: the run of word letters around the caret
  // position there, if the point lies on it. The caret is the nearest to the
  // point, so it is found also beside the text; the word's boxes decide.
  function wordAt({ x, y, shadowRoots }) {
    const caret = document.caretPositionFromPoint(x, y, { shadowRoots });
    const node = caret?.offsetNode;
    if (!node || node.nodeType !== Node.TEXT_NODE || isEditable(node)) return '';
    const text = node.data;
    let start = Math.min(caret.offset, text.length);
    let end = start;
    while (start > 0 && isWordLetter(text[start - 1])) start--;
    while (end < text.length && isWordLetter(text[end])) end++;
    if (start === end) return '';
    const range = document.createRange();
    range.setStart(node, start);
    range.setEnd(node, end);
    for (const box of range.getClientRects()) {
      if (x >= box.left && x < box.right && y >= box.top && y < box.bottom) return text.slice(start, end);
    }
    return '';
  }

  function onRest() {
    timer = 0;
    const word = wordAt(rest);
    if (word === '') return;
    try {
      chrome.runtime.sendMessage({ type: 'hover', word }).catch(() => {});
    } catch {
      stopWatching();  // the extension was reloaded or removed
    }
  }

  function onMouseMove(event) {
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
    if (event.relatedTarget === null) {
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

  function setPanelOpen(open) {
    if (open) startWatching();
    else stopWatching();
  }

  function askWhetherPanelOpen() {
    chrome.runtime.sendMessage({ type: 'panel?' })
      .then((answer) => setPanelOpen(answer?.open === true), () => {});
  }

  chrome.runtime.onMessage.addListener((message) => {
    if (message?.type === 'panel') setPanelOpen(message.open === true);
  });
  askWhetherPanelOpen();
  // A page back from the back-forward cache missed what was said meanwhile.
  addEventListener('pageshow', (event) => {
    if (event.persisted) askWhetherPanelOpen();
  });
})();
