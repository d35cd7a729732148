// The toolbar button opens the side panel. The worker knows in which windows
// a panel is open (each open panel holds a connection to it) and tells the
// content scripts of those windows' tabs, so that they watch the mouse only
// while there is a panel to show the words.

chrome.sidePanel.setPanelBehavior({ openPanelOnActionClick: true }).catch(console.error);

const openPanels = new Map();  // window id -> number of open panels

function isOpen(windowId) {
  return (openPanels.get(windowId) ?? 0) > 0;
}

async function tellTabs(windowId, tabs) {
  const open = isOpen(windowId);
  for (const tab of tabs ?? await chrome.tabs.query({ windowId })) {
    // A tab without the content script (a browser page) has nobody to tell.
    chrome.tabs.sendMessage(tab.id, { type: 'panel', open }).catch(() => {});
  }
}

function countPanel(windowId, change) {
  const was = isOpen(windowId);
  openPanels.set(windowId, (openPanels.get(windowId) ?? 0) + change);
  if (!isOpen(windowId)) openPanels.delete(windowId);
  if (isOpen(windowId) !== was) tellTabs(windowId);
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

// A content script that starts asks whether its window has a panel open.
chrome.runtime.onMessage.addListener((message, sender, sendResponse) => {
  if (message?.type !== 'panel?') return false;
  sendResponse({ open: sender.tab ? isOpen(sender.tab.windowId) : false });
  return false;
});

// A tab dragged into another window takes on that window's state.
chrome.tabs.onAttached.addListener((tabId, { newWindowId }) => {
  tellTabs(newWindowId, [{ id: tabId }]);
});
