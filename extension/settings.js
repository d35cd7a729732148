// The reader's settings, kept in chrome.storage.local and shared by the
// panel, the options page, the service worker and the content scripts (a
// classic script, so that a content script can load it before hover.js).
// What is read from storage is checked: an old or damaged value gives way
// to the default.
globalThis.VordoSettings = (() => {
  const DEFAULTS = Object.freeze({
    hover: true,        // look words up where the mouse rests
    modifier: 'none',   // or a key to hold for hover: 'Shift', 'Alt', 'Control'
    restMs: 400,        // how long the mouse rests before a lookup
    offSites: [],       // host names where hover is off
    textSize: 13,       // the panel's text, in pixels
  });
  const MODIFIERS = ['none', 'Shift', 'Alt', 'Control'];
  const REST_MS = { min: 100, max: 3000 };
  const TEXT_SIZE = { min: 10, max: 24 };
  const MAX_SITES = 1000;

  function within(value, { min, max }, fallback) {
    return Number.isInteger(value) && value >= min && value <= max ? value : fallback;
  }

  function checked(stored) {
    const value = stored && typeof stored === 'object' ? stored : {};
    const sites = Array.isArray(value.offSites) ? value.offSites : [];
    return {
      hover: typeof value.hover === 'boolean' ? value.hover : DEFAULTS.hover,
      modifier: MODIFIERS.includes(value.modifier) ? value.modifier : DEFAULTS.modifier,
      restMs: within(value.restMs, REST_MS, DEFAULTS.restMs),
      offSites: [...new Set(sites.filter((site) => typeof site === 'string' && site !== ''))]
        .slice(0, MAX_SITES),
      textSize: within(value.textSize, TEXT_SIZE, DEFAULTS.textSize),
    };
  }

  async function read() {
    const { settings } = await chrome.storage.local.get('settings');
    return checked(settings);
  }

  // Applies `changes` to the stored settings; the settings as stored.
  async function update(changes) {
    const settings = checked({ ...(await read()), ...changes });
    await chrome.storage.local.set({ settings });
    return settings;
  }

  function follow(listener) {
    chrome.storage.local.onChanged.addListener((changes) => {
      if (changes.settings) listener(checked(changes.settings.newValue));
    });
  }

  // The site of a page's address, as the settings name it: its host.
  function siteOf(address) {
    try {
      return new URL(address).hostname;
    } catch {
      return '';
    }
  }

  async function setSiteOff(site, off) {
    const { offSites } = await read();
    const others = offSites.filter((s) => s !== site);
    return update({ offSites: off ? [...others, site] : others });
  }

  return { DEFAULTS, MODIFIERS, REST_MS, TEXT_SIZE, checked, read, update, follow, siteOf, setSiteOff };
})();
