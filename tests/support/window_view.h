#pragma once
// What a window shows, as named fields; a QCOMPARE difference prints every field on its own line.
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <utility>

namespace orvine::test {

class View {
public:
    using Fields = std::initializer_list<std::pair<const char*, QString>>;

    View(Fields fields = {})
    {
        for (const auto& [name, value] : fields) {
            names_ << QString::fromLatin1(name);
            values_ << value;
        }
    }
    // Changes the named fields, which must exist, and keeps the others.
    View& set(Fields changes)
    {
        for (const auto& [name, value] : changes) {
            const qsizetype i = names_.indexOf(QLatin1String(name));
            if (i < 0)
                qFatal("a view has no field %s", name);
            values_[i] = value;
        }
        return *this;
    }
    bool operator==(const View& other) const { return names_ == other.names_ && values_ == other.values_; }
    friend char* toString(const View& view)
    {
        QString text;
        for (qsizetype i = 0; i < view.names_.size(); ++i)
            text += "\n    " + view.names_[i] + ": " + view.values_[i];
        return qstrdup(text.toUtf8().constData());
    }

private:
    QStringList names_, values_;
};

} // namespace orvine::test
