#pragma once
// Modal message boxes, behind one interface so that tests can record and answer them.
#include <QString>

class QWidget;

namespace orvine {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A message with an OK button only.
    virtual void message(const QString& text, const QString& title = QStringLiteral("Orvine")) = 0;
    // OK and Cancel; true only for OK (Escape and the close box count as Cancel).
    virtual bool confirm(const QString& text, const QString& title = QStringLiteral("Orvine")) = 0;
};

// QMessageBox without an icon. Texts are passed with their carriage returns as the program
// composes them; only the displayed copy turns CR LF, CR and LF into line breaks.
class MessageBoxDialogs : public Dialogs {
public:
    explicit MessageBoxDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void set_parent(QWidget* parent) { parent_ = parent; }

    void message(const QString& text, const QString& title = QStringLiteral("Orvine")) override;
    bool confirm(const QString& text, const QString& title = QStringLiteral("Orvine")) override;

private:
    QWidget* parent_;
};

// The text as a message box shows it: each CR LF, lone CR and lone LF becomes one "\n".
QString display_text(const QString& text);

} // namespace orvine
