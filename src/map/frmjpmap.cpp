#include "map/frmjpmap.h"

#include "resources/window_builder.h"
#include "resources/window_spec.h"

namespace orvine {

frmjpmap::frmjpmap(Module1& module1, Dialogs& dialogs, QWidget& main_window)
    : m_(module1), dialogs_(dialogs), main_window_(main_window)
{
    build_window(*this, frmjpmap_spec());
    setAttribute(Qt::WA_DeleteOnClose);
}

} // namespace orvine
