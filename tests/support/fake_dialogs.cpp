#include "support/fake_dialogs.h"

namespace orvine {

void FakeDialogs::message(const QString& text, const QString& title)
{
    calls.push_back({DialogCall::Kind::Message, text, title});
}

bool FakeDialogs::confirm(const QString& text, const QString& title)
{
    calls.push_back({DialogCall::Kind::Confirm, text, title});
    const bool answer = answers.empty() || answers.front();
    if (!answers.empty())
        answers.pop_front();
    return answer;
}

QStringList FakeDialogs::texts() const
{
    QStringList out;
    for (const DialogCall& call : calls)
        out << call.text;
    return out;
}

} // namespace orvine
