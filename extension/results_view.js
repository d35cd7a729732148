// The results view: a scrolling list with one row per line, drawn as the
// Windows panel draws it. Head lines (a leading space) are bold with a small
// triangle marker, sub-head lines (a leading ':') likewise without showing
// the ':', translation lines plain; parenthesised parts are grey (and not
// bold); a line that does not fit ends with "...". Only the rows in sight
// are built, so a list of thousands of lines costs no more than a short one.

// Colours and the selection's look are in panel.css.
const DOTS = '...';
const TEXT_LEFT = 3;  // pixels before the text of every line
const RIGHT_MARGIN = 5;  // a line is cut where it would come closer to the edge

export class ResultView {
  // `element` is the scrolling box; it receives the keys and clicks.
  constructor(element, { onLeave }) {
    this.element = element;
    this.onLeave = onLeave;
    this.lines = [];
    this.selected = 0;
    this.spacer = document.createElement('div');
    this.rows = document.createElement('div');
    this.rows.className = 'rows';
    element.append(this.spacer, this.rows);
    this.measure();
    element.addEventListener('scroll', () => this.render());
    element.addEventListener('keydown', (event) => this.onKey(event));
    element.addEventListener('mousedown', (event) => this.onClick(event));
    new ResizeObserver(() => this.render()).observe(element);
  }

  // Row height and fonts from the style sheet: the height of a line of the
  // normal font, plus one pixel.
  measure() {
    const style = getComputedStyle(this.element);
    this.normalFont = `${style.fontSize} ${style.fontFamily}`;
    this.boldFont = `bold ${this.normalFont}`;
    this.context = document.createElement('canvas').getContext('2d');
    this.context.font = this.normalFont;
    const metrics = this.context.measureText('.');
    this.lineHeight = Math.ceil(metrics.fontBoundingBoxAscent + metrics.fontBoundingBoxDescent) + 1;
    this.element.style.setProperty('--line-height', `${this.lineHeight}px`);
  }

  width(text, font) {
    this.context.font = font;
    return this.context.measureText(text).width;
  }

  // New lines: the first row selected, scrolled to the top.
  show(lines) {
    this.lines = lines;
    this.selected = 0;
    // One pixel more than the rows, so that the last row can be shown one
    // pixel above the bottom edge.
    this.spacer.style.height = `${lines.length * this.lineHeight + 1}px`;
    this.element.scrollTop = 0;
    this.render();
  }

  pageRows() {
    return Math.floor(this.element.clientHeight / this.lineHeight);
  }

  onKey(event) {
    const count = this.lines.length;
    const lastOrNone = () => {
      if (count === 0 || this.selected >= count) this.selected = count - 1;
    };
    switch (event.key) {
      case 'Tab':
      case 'Escape':
        this.onLeave();
        break;
      case 'PageUp':
        this.selected = Math.max(this.selected - this.pageRows(), 0);
        this.ensureSelectedVisible();
        break;
      case 'PageDown':
        this.selected += this.pageRows();
        lastOrNone();
        this.ensureSelectedVisible();
        break;
      case 'End':
        this.selected = count - 1;
        this.element.scrollTop = this.element.scrollHeight;
        break;
      case 'Home':
        this.selected = 0;
        this.element.scrollTop = 0;
        break;
      case 'ArrowUp':
        this.selected = Math.max(this.selected - 1, 0);
        this.ensureSelectedVisible();
        break;
      case 'ArrowDown':
        this.selected += 1;
        lastOrNone();
        this.ensureSelectedVisible();
        break;
      default:
        return;
    }
    event.preventDefault();
    this.render();
  }

  // A click selects its row, also one below the last line (which then
  // highlights nothing).
  onClick(event) {
    const top = this.element.getBoundingClientRect().top + this.element.clientTop;
    const y = event.clientY - top;
    if (y < 0 || event.clientX - this.element.getBoundingClientRect().left >= this.element.clientWidth) {
      return;  // the border or the scroll bar
    }
    const row = Math.floor((this.element.scrollTop + y) / this.lineHeight);
    if (row !== this.selected) {
      this.selected = row;
      this.ensureSelectedVisible();
      this.render();
    }
  }

  // Scrolls so that the selected row lies wholly in sight: its lower edge one
  // pixel above the bottom when it was below, its top at the top when above.
  ensureSelectedVisible() {
    if (this.selected < 0 || this.selected >= this.lines.length) return;
    let position = this.element.scrollTop;
    const need = (this.selected + 1) * this.lineHeight - this.element.clientHeight;
    if (position <= need) position = need + 1;
    position = Math.min(position, this.selected * this.lineHeight);
    this.element.scrollTop = position;
  }

  render() {
    const top = this.element.scrollTop;
    const first = Math.floor(top / this.lineHeight);
    const last = Math.min(this.lines.length, Math.ceil((top + this.element.clientHeight) / this.lineHeight));
    const limit = this.element.clientWidth - RIGHT_MARGIN;
    const rows = [];
    for (let i = first; i < last; i++) rows.push(this.row(i, limit));
    this.rows.replaceChildren(...rows);
  }

  row(index, limit) {
    const line = this.lines[index];
    const row = document.createElement('div');
    row.className = 'row';
    row.setAttribute('role', 'option');
    row.style.top = `${index * this.lineHeight}px`;
    row.title = line.trim();
    if (index === this.selected) {
      row.classList.add('selected');
      row.setAttribute('aria-selected', 'true');
    }
    const head = line.startsWith(' ') || line.startsWith(':');
    if (head) {
      row.classList.add(line.startsWith(' ') ? 'head' : 'sub-head');
      const marker = document.createElement('span');
      marker.className = 'marker';
      row.append(marker);
    }
    const text = head ? ` ${line.slice(1)}` : line;
    for (const segment of segments(this.fit(text, head, limit))) {
      const span = document.createElement('span');
      span.textContent = segment.text;
      if (segment.group) span.className = 'group';
      else if (head) span.className = 'bold';
      row.append(span);
    }
    return row;
  }

  // The text as it fits in `limit` pixels: whole, or cut and ended with "...".
  fit(text, head, limit) {
    limit -= TEXT_LEFT;
    if (head && text.includes('(')) {
      // Character by character: a head's groups are in the normal font.
      let x = 0;
      let cut = 0;
      let i = 0;
      const dots = this.width(DOTS, this.boldFont);
      let font = this.boldFont;
      while (i < text.length && x <= limit) {
        if (text[i] === '(') font = this.normalFont;
        else if (i > 0 && text[i - 1] === ')') font = this.boldFont;
        x += this.width(text[i], font);
        i++;
        if (x + dots <= limit) cut = i;
      }
      return i < text.length || x > limit ? text.slice(0, cut) + DOTS : text;
    }
    const font = head ? this.boldFont : this.normalFont;
    if (this.width(text, font) <= limit) return text;
    // The longest start of the text that fits beside the dots; widths grow
    // with length, so it is found by halving.
    const room = limit - this.width(DOTS, font);
    let fits = 0;
    let over = text.length;
    while (over - fits > 1) {
      const middle = (fits + over) >> 1;
      if (this.width(text.slice(0, middle), font) <= room) fits = middle;
      else over = middle;
    }
    return text.slice(0, fits) + DOTS;
  }
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
