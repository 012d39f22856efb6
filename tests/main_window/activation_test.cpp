#include "main_window/activation.h"
#include "shared_state/shared_state.h"

#include <gtest/gtest.h>

using namespace orvine;

TEST(Activation, EveryCombinationOfTheFlags)
{
    using A = Activation;
    struct Row {
        bool entering_departure, point_handed_over, result_shown, destination_handed_over;
        Activation expected;
    } const rows[] = {
        // Departure entry: only whether a point came over counts.
        {true, true, false, false, A::DepartureHandedOver}, {true, true, true, true, A::DepartureHandedOver},
        {true, false, false, false, A::DepartureRestored}, {true, false, true, true, A::DepartureRestored},
        // Destination entry.
        {false, false, false, false, A::DestinationRestored}, {false, false, true, true, A::DestinationRestored},
        {false, true, false, false, A::DestinationHandedOver}, {false, true, false, true, A::DestinationHandedOver},
        {false, true, true, false, A::ResultShownAgain}, {false, true, true, true, A::NewDestinationOverResult},
    };
    for (const Row& r : rows) {
        SharedState s;
        std::tie(s.entering_departure, s.point_handed_over, s.result_shown, s.destination_handed_over) =
            std::tie(r.entering_departure, r.point_handed_over, r.result_shown, r.destination_handed_over);
        EXPECT_EQ(activation_case(s), r.expected) << "row " << &r - rows;
    }
}
