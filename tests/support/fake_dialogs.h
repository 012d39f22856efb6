#pragma once
// Dialogs that record what would have been shown and answer from a queue; a sound that counts.
#include "platform/dialogs.h"
#include "platform/sound.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

namespace orvine {

struct DialogCall {
    enum class Kind { Message, Confirm };
    Kind kind;
    QString text, title;
};

class FakeDialogs : public Dialogs {
public:
    void message(const QString& text, const QString& title = QStringLiteral("Orvine")) override;
    // Answers with the next queued answer, or OK when the queue is empty.
    bool confirm(const QString& text, const QString& title = QStringLiteral("Orvine")) override;

    // Every box in the order shown.
    std::vector<DialogCall> calls;
    // Answers to the coming confirmations, first first.
    std::deque<bool> answers;

    QStringList texts() const;
    void clear() { calls.clear(); answers.clear(); }
};

class SilentSound : public NotificationSound {
public:
    void play() override { ++plays; }
    int plays = 0;
};

} // namespace orvine
