// The page's life around the game: a page hidden during play (another tab, the phone's home screen)
// goes to the pause menu with its music stopped at once, as Escape would, and stays there when it shows
// again; and the keys the game plays with never scroll the page.

const kPlayKeys = new Set(['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', ' ', 'Spacebar']);

export function startPageLife() {
  document.addEventListener('visibilitychange', () => {
    // A hidden page runs no passes, so the game is told now (web/page_input.cpp tavok_page_hidden).
    if (document.hidden && typeof Module !== 'undefined' && typeof Module._tavok_page_hidden === 'function') {
      Module._tavok_page_hidden();
    }
  });
  window.addEventListener('keydown', (event) => {
    if (kPlayKeys.has(event.key) && !(event.target instanceof HTMLButtonElement)) event.preventDefault();
  });
}
