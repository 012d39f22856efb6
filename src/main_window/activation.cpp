#include "main_window/activation.h"

#include "shared_state/shared_state.h"

namespace orvine {

Activation activation_case(const SharedState& state)
{
    if (state.entering_departure)
        return state.point_handed_over ? Activation::DepartureHandedOver : Activation::DepartureRestored;
    if (!state.point_handed_over)
        return Activation::DestinationRestored;
    if (!state.result_shown)
        return Activation::DestinationHandedOver;
    return state.destination_handed_over ? Activation::NewDestinationOverResult : Activation::ResultShownAgain;
}

} // namespace orvine
