#pragma once
// Labels that show a place name in a box of fixed width. A name wider than its box is drawn
// cut short with an ellipsis and shows whole in the label's tool tip; the label's text stays
// the whole name, and that is what screen readers read.
class QLabel;
class QString;

namespace orvine {

// Makes `label` draw a name that does not fit with an ellipsis at its end.
void elide_long_names(QLabel& label);

// Shows `name` in `label`, with the whole name as its tool tip when it does not fit.
void show_place_name(QLabel& label, const QString& name);

} // namespace orvine
