// The results view: an accessible list of entries. Each entry shows its head
// in bold with the parts of speech and labels set apart, then its
// translations as wrapped text, one line per part of speech. The word's own
// entries come first; the phrases that hold it follow in collapsed groups,
// one per word. Entries are built as they come into sight, so a list of
// hundreds of phrases costs no more than a short one until it is scrolled.
//
// The selection moves with Up/Down/PageUp/PageDown/Home/End; Enter on an
// entry (or a click on a head or on a word of a translation) follows it,
// Enter, Left or Right on a group opens or closes it. Text can be selected
// and copied: a click never rebuilds what it lands on.

// Entries built at a time, and how near the end of what is built the
// scrolling may come before the next ones are.
const CHUNK = 40;
const BUILD_AHEAD_PX = 400;

// The head without its parenthesised groups: "go (v.)" is "go".
export function bareHead(head) {
  return head.replace(/\([^)]*\)?/g, ' ').replace(/\s+/g, ' ').trim();
}

// The parenthesised groups of a head, without their parentheses: the parts
// of speech and labels ("go (v.)" gives "v.").
export function headLabels(head) {
  return [...head.matchAll(/\(([^)]*)\)?/g)].map((match) => match[1].trim()).filter(Boolean).join(', ');
}

function words(text) {
  return text.toLowerCase().split(' ').filter(Boolean);
}

function holdsRun(haystack, needle) {
  for (let i = 0; i + needle.length <= haystack.length; i++) {
    if (needle.every((word, j) => haystack[i + j] === word)) return true;
  }
  return false;
}

// Results (best first) as the view shows them: `own` entries, then
// `groups` of phrase entries. An entry holds the results of one bare head,
// where the best of them stands: { head, senses: [{ labels, translations }] }. A result is the
// word's own when its head has no more words than `word` (the word looked
// up) or is the phrase the word was read in; a group holds the phrases
// with `word` itself ({ word }), then those with its other forms
// ({ forms }). With `flat` every result is the word's own.
export function arrange(results, { word = '', phrase = '', flat = false } = {}) {
  const asked = words(bareHead(word));
  const phraseWords = words(bareHead(phrase));
  const own = [];
  const withWord = [];
  const withForms = [];
  const entries = new Map();  // one entry per bare head and list
  const sameWords = (a, b) => a.length === b.length && a.every((w, i) => w === b[i]);
  for (const result of results) {
    const bare = bareHead(result.head);
    const headWords = words(bare);
    let list;
    if (flat || headWords.length <= Math.max(asked.length, 1) || sameWords(headWords, phraseWords)) list = own;
    else if (holdsRun(headWords, asked)) list = withWord;
    else list = withForms;
    const sense = { labels: headLabels(result.head), translations: result.translations };
    const key = `${list === own ? 'own' : 'phrase'}\t${bare}`;
    const entry = entries.get(key);
    if (entry) entry.senses.push(sense);
    else {
      entries.set(key, { head: bare, senses: [sense] });
      list.push(entries.get(key));
    }
  }
  const groups = [];
  if (withWord.length > 0) groups.push({ word: asked.join(' '), entries: withWord });
  if (withForms.length > 0) {
    const ownWords = new Set(own.map((entry) => entry.head.toLowerCase()));
    const forms = new Set();
    for (const entry of withForms) {
      for (const w of words(entry.head)) if (ownWords.has(w) && w !== asked.join(' ')) forms.add(w);
    }
    groups.push({ forms: [...forms], entries: withForms });
  }
  return { own, groups };
}

// Czech plural: 1 fráze, 2-4 fráze, 5 and more frází.
export function phraseCount(n) {
  return `${n} ${n === 1 || (n >= 2 && n <= 4) ? 'fráze' : 'frází'}`;
}

export function groupLabel(group) {
  const count = phraseCount(group.entries.length);
  if (group.word !== undefined) return `${count} se slovem \u201E${group.word}\u201C`;
  if (group.forms.length === 0) return `${count} s dalšími tvary`;
  const shown = group.forms.slice(0, 4).join(', ');
  return `${count} s tvary \u201E${shown}${group.forms.length > 4 ? ', \u2026' : ''}\u201C`;
}

// The text cut into parts outside and inside parentheses; an inside part
// runs up to and including its ')', or to the end when there is none.
export function segments(text) {
  const parts = [];
  let inside = false;
  let start = 0;
  while (start < text.length) {
    let end;
    if (inside) {
      const close = text.indexOf(')', start);
      end = close < 0 ? text.length : close + 1;
    } else {
      const open = text.indexOf('(', start);
      end = open < 0 ? text.length : open;
    }
    if (end > start) parts.push({ text: text.slice(start, end), group: inside });
    start = end;
    inside = !inside;
  }
  return parts;
}

// An entry as text for the clipboard: "head (labels): translation, ...".
export function entryText(entry) {
  return entry.senses.map((sense) => `${entry.head}${sense.labels ? ` (${sense.labels})` : ''}: ` +
    sense.translations.join(', ')).join('\n');
}

function element(tag, className, text) {
  const made = document.createElement(tag);
  if (className) made.className = className;
  if (text !== undefined) made.textContent = text;
  return made;
}

// Icons drawn in the text's colour, so that they need no font of the
// system's: a speaker, and two sheets for a copy.
const SVG = 'http://www.w3.org/2000/svg';
const ICONS = {
  speak: [['path', { d: 'M3 9h4l5-4v14l-5-4H3z', fill: 'currentColor' }],
    ['path', { d: 'M15.5 8.5a5 5 0 0 1 0 7', fill: 'none', stroke: 'currentColor', 'stroke-width': 2 }]],
  copy: [['rect', { x: 9, y: 8, width: 10, height: 12, rx: 2, fill: 'none', stroke: 'currentColor', 'stroke-width': 2 }],
    ['path', { d: 'M5 15V5a1 1 0 0 1 1-1h9', fill: 'none', stroke: 'currentColor', 'stroke-width': 2 }]],
};

function icon(name) {
  const drawing = document.createElementNS(SVG, 'svg');
  drawing.setAttribute('viewBox', '0 0 24 24');
  drawing.setAttribute('aria-hidden', 'true');
  for (const [tag, attributes] of ICONS[name]) {
    const shape = document.createElementNS(SVG, tag);
    for (const [attribute, value] of Object.entries(attributes)) shape.setAttribute(attribute, value);
    drawing.append(shape);
  }
  return drawing;
}

function actionButton(className, symbol, label, action) {
  const button = element('button', `action ${className}`);
  button.append(ICONS[action] ? icon(action) : symbol);
  button.type = 'button';
  button.tabIndex = -1;
  button.title = label;
  button.setAttribute('aria-label', label);
  button.dataset.action = action;
  return button;
}

export class ResultView {
  // `element` is the list; `actions` are what the reader's choices do:
  // onLeave(), onFollow(text), onCopy(entry), onStar(entry), onSpeak(text),
  // isSaved(head).
  constructor(list, actions) {
    this.list = list;
    this.actions = actions;
    this.items = [];      // what the keys step through: { kind, element, entry | group }
    this.selected = -1;
    this.pending = [];    // entries of open groups not built yet: { entry, group }
    this.nextId = 0;
    list.addEventListener('keydown', (event) => this.onKey(event));
    list.addEventListener('click', (event) => this.onClick(event));
    list.addEventListener('focusin', (event) => this.onFocus(event));
    list.addEventListener('scroll', () => this.buildInSight(), { passive: true });
  }

  // Shows arranged results; the first item selected, scrolled to the top.
  show({ own, groups }) {
    this.items = [];
    this.pending = [];
    this.selected = -1;
    const built = [];
    for (const entry of own) built.push(this.entryItem(entry));
    for (const group of groups) built.push(this.groupItem(group));
    this.list.replaceChildren(...built.map((item) => item.container ?? item.element));
    this.items = built;
    this.list.scrollTop = 0;
    if (this.items.length > 0) this.select(0, { focus: false });
  }

  entryItem(entry) {
    const item = element('div', 'entry');
    item.id = `entry-${this.nextId++}`;
    item.setAttribute('role', 'listitem');
    item.tabIndex = -1;
    const head = element('div', 'entry-head');
    const word = element('span', 'head-word', entry.head);
    word.dataset.follow = entry.head;
    word.title = `Vyhledat \u201E${entry.head}\u201C`;
    const actions = element('span', 'actions');
    const star = actionButton('star', '\u2606', `Uložit \u201E${entry.head}\u201C`, 'star');
    this.paintStar(star, this.actions.isSaved(entry.head));
    actions.append(actionButton('speak', '', `Vyslovit \u201E${entry.head}\u201C`, 'speak'),
      actionButton('copy', '', 'Kopírovat heslo', 'copy'), star);
    head.append(word, actions);
    item.append(head);
    for (const sense of entry.senses) {
      const line = element('div', 'sense');
      if (sense.labels) line.append(element('span', 'labels', sense.labels), ' ');
      sense.translations.forEach((translation, i) => {
        if (i > 0) line.append(', ');
        const span = element('span', 'translation');
        for (const part of segments(translation)) {
          span.append(part.group ? element('span', 'group', part.text) : part.text);
        }
        line.append(span);
      });
      item.append(line);
    }
    return { kind: 'entry', element: item, entry };
  }

  groupItem(group) {
    const item = element('div', 'phrase-group');
    item.setAttribute('role', 'listitem');
    const toggle = element('button', 'group-toggle');
    toggle.type = 'button';
    toggle.tabIndex = -1;
    toggle.id = `group-${this.nextId++}`;
    toggle.setAttribute('aria-expanded', 'false');
    toggle.append(element('span', 'disclosure', '\u25B8'), ` ${groupLabel(group)}`);
    item.append(toggle);
    return { kind: 'group', element: toggle, container: item, group, open: false, members: [] };
  }

  paintStar(button, saved) {
    button.textContent = saved ? '\u2605' : '\u2606';
    button.setAttribute('aria-pressed', String(saved));
    button.classList.toggle('saved', saved);
  }

  // Marks the stars of `head` saved or not.
  markSaved(head, saved) {
    for (const item of this.items) {
      if (item.kind === 'entry' && item.entry.head === head) {
        this.paintStar(item.element.querySelector('.star'), saved);
      }
    }
  }

  toggleGroup(item, open = !item.open) {
    if (open === item.open) return;
    item.open = open;
    item.element.setAttribute('aria-expanded', String(open));
    item.element.querySelector('.disclosure').textContent = open ? '\u25BE' : '\u25B8';
    const at = this.items.indexOf(item);
    if (open) {
      // The group's entries follow its toggle; the first chunk now, the
      // rest as the list is scrolled to them.
      const members = item.group.entries.map((entry) => ({ entry, group: item }));
      this.pending = [...members, ...this.pending.filter((p) => p.group !== item)];
      this.buildPending(item);
    } else {
      this.pending = this.pending.filter((p) => p.group !== item);
      const members = this.items.filter((m) => m.group === item);
      for (const member of members) member.element.remove();
      this.items = this.items.filter((m) => m.group !== item);
      if (this.selected > at) this.select(at, { focus: this.hasFocus() });
    }
  }

  // Builds the next chunk of pending entries of `group`, after those of
  // it already built.
  buildPending(group) {
    const waiting = this.pending.filter((p) => p.group === group).slice(0, CHUNK);
    const built = this.items.filter((m) => m.group === group);
    const after = built.length > 0 ? built[built.length - 1] : group;
    const made = waiting.map(({ entry }) => ({ ...this.entryItem(entry), group }));
    const fragment = document.createDocumentFragment();
    for (const item of made) fragment.append(item.element);
    (after.container ?? after.element).after(fragment);
    const index = this.items.indexOf(after) + 1;
    this.items.splice(index, 0, ...made);
    if (this.selected >= index) this.selected += made.length;
    this.pending = this.pending.filter((p) => !waiting.includes(p));
  }

  buildNext() {
    if (this.pending.length > 0) this.buildPending(this.pending[0].group);
  }

  // Builds the next entries of open groups when the scrolling nears them.
  buildInSight() {
    while (this.pending.length > 0 &&
        this.list.scrollTop + this.list.clientHeight + BUILD_AHEAD_PX >= this.list.scrollHeight) {
      this.buildNext();
    }
  }

  hasFocus() {
    return this.list.contains(document.activeElement);
  }

  select(index, { focus }) {
    if (index < 0 || index >= this.items.length) return;
    this.items[this.selected]?.element.classList.remove('selected');
    this.items[this.selected]?.element.setAttribute('tabindex', '-1');
    this.selected = index;
    const { element: chosen } = this.items[index];
    chosen.classList.add('selected');
    // The selected item is the list's one stop in the tab order.
    chosen.setAttribute('tabindex', '0');
    if (focus) chosen.focus({ preventScroll: true });
    this.scrollIntoSight(chosen);
    this.buildInSight();
  }

  scrollIntoSight(target) {
    const list = this.list.getBoundingClientRect();
    const box = target.getBoundingClientRect();
    if (box.top < list.top) this.list.scrollTop += box.top - list.top;
    else if (box.bottom > list.bottom) this.list.scrollTop += Math.min(box.bottom - list.bottom, box.top - list.top);
  }

  // The first item a page below (or above) the selected one.
  pageFrom(index, direction) {
    const height = this.list.clientHeight;
    const start = this.items[index].element.getBoundingClientRect().top;
    let i = index;
    while (i + direction >= 0 && i + direction < this.items.length &&
        Math.abs(this.items[i + direction].element.getBoundingClientRect().top - start) < height) {
      i += direction;
    }
    return i + direction >= 0 && i + direction < this.items.length ? i + direction : i;
  }

  // Focus the list: the selected item takes it.
  focus() {
    if (this.selected >= 0) this.select(this.selected, { focus: true });
    else this.list.focus();
  }

  onFocus(event) {
    const index = this.items.findIndex((item) => item.element === event.target);
    if (index >= 0 && index !== this.selected) this.select(index, { focus: false });
  }

  onKey(event) {
    if (event.altKey || event.metaKey) return;
    const item = this.items[this.selected];
    const action = event.ctrlKey ? this.ctrlKeyAction(event.key, item) : this.keyAction(event.key, item);
    if (!action) return;
    event.preventDefault();
    action();
  }

  keyAction(key, item) {
    const step = (index) => () => this.select(index, { focus: true });
    const moves = {
      ArrowDown: () => {
        if (this.selected === this.items.length - 1) this.buildNext();
        step(Math.min(this.selected + 1, this.items.length - 1))();
      },
      ArrowUp: step(Math.max(this.selected - 1, 0)),
      PageDown: () => { this.buildInSight(); step(this.pageFrom(this.selected, 1))(); },
      PageUp: () => step(this.pageFrom(this.selected, -1))(),
      Home: step(0),
      End: () => {
        while (this.pending.length > 0) this.buildNext();
        step(this.items.length - 1)();
      },
      Enter: () => this.activate(item),
      Escape: () => this.actions.onLeave(),
    };
    if (moves[key]) return this.items.length > 0 || key === 'Escape' ? moves[key] : null;
    if (item?.kind === 'group') {
      return { ArrowRight: () => this.toggleGroup(item, true), ArrowLeft: () => this.toggleGroup(item, false),
        ' ': () => this.toggleGroup(item) }[key] ?? null;
    }
    if (item?.kind !== 'entry') return null;
    return {
      ArrowLeft: item.group ? step(this.items.indexOf(item.group)) : null,
      s: () => this.actions.onStar(item.entry),
      v: () => this.actions.onSpeak(item.entry.head),
      c: () => this.actions.onCopy(item.entry),
    }[key] ?? null;
  }

  // Ctrl+C copies the selected text, or the entry when no text is selected.
  ctrlKeyAction(key, item) {
    if (key !== 'c' || item?.kind !== 'entry' || !document.getSelection().isCollapsed) return null;
    return () => this.actions.onCopy(item.entry);
  }

  activate(item) {
    if (item?.kind === 'group') this.toggleGroup(item);
    else if (item?.kind === 'entry') this.actions.onFollow(item.entry.head);
  }

  onClick(event) {
    const button = event.target.closest('button');
    const index = this.items.findIndex((item) => item.element.contains(event.target));
    const item = this.items[index];
    if (index >= 0 && index !== this.selected) this.select(index, { focus: false });
    if (button?.classList.contains('group-toggle')) {
      this.toggleGroup(item);
      return;
    }
    if (button?.dataset.action && item?.kind === 'entry') {
        const act = { star: this.actions.onStar, speak: (entry) => this.actions.onSpeak(entry.head),
        copy: this.actions.onCopy }[button.dataset.action];
      act(item.entry);
      return;
    }
    // A drag that selected text is no click on a word.
    if (!document.getSelection().isCollapsed) return;
    const follow = event.target.closest('[data-follow]');
    if (follow) {
      this.actions.onFollow(follow.dataset.follow);
      return;
    }
    if (event.target.closest('.translation')) {
      const word = wordAtPoint(event.clientX, event.clientY);
      if (word) this.actions.onFollow(word);
    }
  }
}

// The word of the results' text under a point, or ''.
function wordAtPoint(x, y) {
  const caret = document.caretPositionFromPoint(x, y);
  const node = caret?.offsetNode;
  if (!node || node.nodeType !== Node.TEXT_NODE) return '';
  const letter = /[\p{L}\p{M}'\u2019-]/u;
  let start = caret.offset;
  let end = caret.offset;
  while (start > 0 && letter.test(node.data[start - 1])) start--;
  while (end < node.data.length && letter.test(node.data[end])) end++;
  return node.data.slice(start, end).replace(/^[-'\u2019]+|[-'\u2019]+$/g, '');
}
