// The panel opens only in answer to a user's action, so the window is known
// before the click and the click opens it at once.
let windowId;
chrome.windows.getCurrent().then((current) => { windowId = current.id; });
document.getElementById('open').addEventListener('click', () => {
  if (windowId !== undefined) chrome.sidePanel.open({ windowId }).catch(console.error);
});
