#pragma once
// What the main window shows when another window of the program hands control back: one
// of six cases, decided from the shared state alone.
namespace orvine {

struct SharedState;

enum class Activation {
    DepartureHandedOver,    // departure entry: the handed-over point goes on the bars
    DepartureRestored,      // departure entry, nothing handed over (or start-up): the saved copy
    ResultShownAgain,       // the result for a handed-over destination is shown again
    NewDestinationOverResult, // a new destination replaces the result on display
    DestinationHandedOver,  // a destination was handed over, no result on display
    DestinationRestored,    // destination entry, nothing handed over: the bars as they were
};

Activation activation_case(const SharedState& state);

} // namespace orvine
