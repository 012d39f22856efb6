#include "places/form2.h"

#include "resources/window_builder.h"
#include "resources/window_spec.h"

namespace orvine {

Form2::Form2(Module1& module1, Dialogs& dialogs, NotificationSound& sound, QWidget& main_window)
    : m_(module1), dialogs_(dialogs), sound_(sound), main_window_(main_window)
{
    build_window(*this, form2_spec());
    setAttribute(Qt::WA_DeleteOnClose);
}

} // namespace orvine
