// The options page: the welcome text, a button that opens the panel, and
// the settings, written to storage as soon as they change.
const $ = (id) => document.getElementById(id);

// The panel opens only in answer to a user's action, so the window is known
// before the click and the click opens it at once.
let windowId;
chrome.windows.getCurrent().then((current) => { windowId = current.id; });
$('open').addEventListener('click', () => {
  if (windowId !== undefined) chrome.sidePanel.open({ windowId }).catch(console.error);
});

function paint(settings) {
  $('hover').checked = settings.hover;
  $('modifier').value = settings.modifier;
  $('rest-ms').value = settings.restMs;
  $('text-size').value = settings.textSize;
  $('no-sites').hidden = settings.offSites.length > 0;
  $('sites').replaceChildren(...settings.offSites.map((site) => {
    const item = document.createElement('li');
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = 'Zapnout';
    button.setAttribute('aria-label', `Zapnout vyhledávání myší na ${site}`);
    button.addEventListener('click', () => save(VordoSettings.setSiteOff(site, false)));
    item.append(`${site} `, button);
    return item;
  }));
}

async function save(saving) {
  paint(await saving);
  $('saved-state').textContent = 'Uloženo.';
}

// A number outside its range is not stored: the field shows the value kept.
function numberIn(input, { min, max }) {
  const value = Number(input.value);
  return Number.isInteger(value) && value >= min && value <= max ? value : undefined;
}

$('settings').addEventListener('change', () => {
  const changes = { hover: $('hover').checked, modifier: $('modifier').value };
  const restMs = numberIn($('rest-ms'), VordoSettings.REST_MS);
  const textSize = numberIn($('text-size'), VordoSettings.TEXT_SIZE);
  if (restMs !== undefined) changes.restMs = restMs;
  if (textSize !== undefined) changes.textSize = textSize;
  save(VordoSettings.update(changes));
});
$('settings').addEventListener('submit', (event) => event.preventDefault());

VordoSettings.read().then(paint);
VordoSettings.follow(paint);
