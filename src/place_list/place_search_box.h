#pragma once
// The place search of the place-list window: typing in the name box offers the gazetteer's
// matches (the user's own places first) in a drop-down list under the box.
//
// The drop-down is a QCompleter's popup that the box does not own (QLineEdit::setCompleter
// would write every highlighted match into the box): typing and moving through the list
// never change the box's text, and only a chosen match does. While the list is open,
// Return takes the highlighted match (with none highlighted it only closes the list) and
// Escape only closes it; with the list closed, both keys reach the window as before.
#include "search/gazetteer.h"
#include "shared_state/point.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QAbstractItemView;
class QCompleter;
class QLineEdit;
class QStandardItemModel;

namespace orvine {

class Dialogs;
class PlaceTable;

// A gazetteer read at its first use, never before, and kept for the rest of the run.
class GazetteerOnDemand {
public:
    explicit GazetteerOnDemand(std::function<GazetteerLoad()> load) : load_(std::move(load)) {}

    // Reads it on the first call. A gazetteer that could not be read is empty: a search then
    // finds the registered places only.
    const Gazetteer& gazetteer();
    // Why it could not be read, in Japanese, on the first call after a failed reading only;
    // empty otherwise, so that the user is told once per run.
    QString problem_to_report();

private:
    std::function<GazetteerLoad()> load_;
    std::optional<GazetteerLoad> loaded_;
    bool reported_ = false;
};

// The installed gazetteer (load_installed_gazetteer), shared by every place-list window.
GazetteerOnDemand& installed_gazetteer();

// Where a gazetteer point goes on the bars, rounded to whole seconds as a map pick gives them.
struct BarsPlacement {
    enum class Refusal {
        None,
        SubDegreeSouth, // the hemisphere is the sign of the degrees: 0°13′ S cannot be held
        SubDegreeWest,
        BeyondBars, // more than 89°59′59″ of latitude or 179°59′59″ of longitude
    };
    Point point; // entry form; also set when refused, for the message
    bool south = false, west = false;
    Refusal refusal = Refusal::None;
};

// `latitude`, `longitude`: decimal degrees, north and east positive.
BarsPlacement place_on_bars(double latitude, double longitude);

class PlaceSearchBox : public QObject {
    Q_OBJECT
public:
    static constexpr std::size_t MAX_MATCHES = 20;

    // Watches `box`; `places` are the registered places offered first; refusals and a
    // gazetteer that cannot be read are told through `dialogs`.
    PlaceSearchBox(QLineEdit& box, const PlaceTable& places, GazetteerOnDemand& gazetteer, Dialogs& dialogs);

    QAbstractItemView* drop_down() const;

signals:
    // A match the bars can hold was chosen: its name without the disambiguation, its point.
    void chosen(const QString& name, const Point& point);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void offer_matches(const QString& text);
    void choose(int row);
    void open_drop_down();

    QLineEdit& box_;
    const PlaceTable& places_;
    GazetteerOnDemand& gazetteer_;
    Dialogs& dialogs_;
    QCompleter* completer_;
    QStandardItemModel* model_;
    std::vector<PlaceMatch> matches_;
};

} // namespace orvine
