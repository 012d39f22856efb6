#pragma once
// The main window: the calculation window and the start-up window. It exists for the whole
// run; the place-list and map windows are opened from its menu while it is hidden, and hand
// control back by writing Module1 and showing it again, which runs Form_Activate.
#include "shared_state/point.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>

class QAction;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollBar;

namespace orvine {

struct Module1;
struct Sector;
class CompassCanvas;
class Dialogs;
class DmsBars;
class Form2;
class NotificationSound;
class frmjpmap;

class Form1 : public QMainWindow {
    Q_OBJECT
public:
    // `end_program` ends the run (QCoreApplication::quit unless given); the close box,
    // btn_end and mnuend call it.
    Form1(Module1& module1, Dialogs& dialogs, NotificationSound& sound,
          std::function<void()> end_program = {});
    ~Form1() override;

public slots:
    // Once, before the first show: centre, read the settings, show the start-up point.
    void Form_Load();
    // Each time another window of the program hands control back (and after the first show).
    void Form_Activate();

    void btn_next_Click();
    void btn_return_Click();
    void btn_cal_Click();
    void btn_kiro_Click();
    void btn_end_Click();
    void mnuend_Click();
    void mnusyoki_Click();
    void mnulist_Click();
    void mnujap_Click();
    void mnuwor_Click();
    void mnuver_Click();
    // Ctrl+C and the result labels' context menu: the result as one line of text, as shown
    // (captions and values, the two pairs separated by a tab). Without a result nothing
    // is copied.
    void copy_result();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void read_settings();
    void show_departure_summary(const Point& p);
    void show_destination_summary(const Point& p);
    void put_on_bars(const Point& p);
    // The name check of "次　へ" and "方位表示": true when the place list holds `name` at a
    // point other than `point`. An unreadable or damaged list skips the check.
    bool name_no_longer_fits(const QString& name, const Point& point);
    void refuse(const QString& message);
    // The captions and result labels as one line, the pairs joined by `between`; empty
    // while no result is shown.
    QString result_line(const QString& between) const;
    void show_result_menu(QLabel* result, const QPoint& at);
    void draw_direction(double b, const Sector& sector);
    void erase_drawing();
    void leave_main_window();
    void open_map(std::int16_t kind);

    Module1& m_;
    Dialogs& dialogs_;
    NotificationSound& sound_;
    std::function<void()> end_program_;

    DmsBars* bars_ = nullptr;
    CompassCanvas* compass_ = nullptr;
    QGroupBox* Frame1 = nullptr;
    QScrollBar* ido_do = nullptr;
    QLabel* lbido1 = nullptr;
    QLabel* lbkei1 = nullptr;
    QLabel* lbido2 = nullptr;
    QLabel* lbkei2 = nullptr;
    QLabel* splace = nullptr;
    QLabel* mplace = nullptr;
    QLabel* lb_cal = nullptr;
    QLabel* lb_dis = nullptr;
    QLabel* Label18 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Image1 = nullptr;
    QPushButton* btn_next = nullptr;
    QPushButton* btn_return = nullptr;
    QPushButton* btn_cal = nullptr;
    QPushButton* btn_kiro = nullptr;
    QPushButton* btn_end = nullptr;
    QAction* mnusyoki = nullptr;
    QAction* mnuend = nullptr;
    QAction* mnulist = nullptr;
    QAction* mnujap = nullptr;
    QAction* mnuwor = nullptr;
    QAction* mnuver = nullptr;

    // Created when first opened; each deletes itself when closed with its close box.
    QPointer<Form2> form2_;
    QPointer<frmjpmap> map_;

    // A damaged place list is reported once per run, not on every name check.
    bool place_list_problem_reported_ = false;
};

} // namespace orvine
