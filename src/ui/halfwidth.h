#pragma once

class QLineEdit;

// A box that takes a card number, a barcode or a whole number reads what a Chinese input
// method types in full-width mode ("１００２", "Ｔ００１") as the half-width text the
// look-ups and the store expect. Typed keys, input-method commits and pastes are folded as
// they arrive, so validators and the screen only ever see half-width text.
namespace HalfWidth {
enum class Fold {
    Everything,       // digits, letters, signs and the ideographic space
    DigitsAndLetters, // a box that also takes a title fragment keeps full-width punctuation
};
void apply(QLineEdit* box, Fold fold = Fold::Everything);
} // namespace HalfWidth
