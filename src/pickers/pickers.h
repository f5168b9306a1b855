#pragma once

// Dialogs that screens of several folders open to pick or show a row: the card picker,
// the book picker, the book and loan detail popups, the publisher lists. They live below
// the screen folders so that lending, returns, cards, the catalogue and the reading room
// can all use them without including each other.
