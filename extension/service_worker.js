// The toolbar button opens the side panel. The worker knows in which windows
// a panel is open (each open panel holds a connection to it) and keeps their
// list in the session storage, where the content scripts of every frame read
// it once and follow its changes: they watch the mouse only while there is a
// panel to show the words, and no frame has to ask. Its keyboard command
// switches hover on and off.
importScripts('settings.js');

chrome.sidePanel.setPanelBehavior({ openPanelOnActionClick: true }).catch(console.error);
chrome.storage.session.setAccessLevel({ accessLevel: 'TRUSTED_AND_UNTRUSTED_CONTEXTS' })
  .catch(console.error);

const openPanels = new Map();  // window id -> number of open panels

// Written at every start too: a worker that was stopped forgot its panels,
// and those still open connect again.
function publish() {
  chrome.storage.session.set({ panelWindows: [...openPanels.keys()] }).catch(console.error);
}
publish();

function countPanel(windowId, change) {
  const count = (openPanels.get(windowId) ?? 0) + change;
  if (count > 0) openPanels.set(windowId, count);
  else openPanels.delete(windowId);
  publish();
}

chrome.runtime.onConnect.addListener((port) => {
  if (port.name !== 'panel') return;
  let windowId;
  port.onMessage.addListener((message) => {
    if (windowId !== undefined || !Number.isInteger(message?.windowId)) return;
    windowId = message.windowId;
    countPanel(windowId, +1);
  });
  port.onDisconnect.addListener(() => {
    if (windowId !== undefined) countPanel(windowId, -1);
  });
});

chrome.commands.onCommand.addListener(async (command) => {
  if (command !== 'toggle-hover') return;
  const { hover } = await VordoSettings.read();
  await VordoSettings.update({ hover: !hover });
});
