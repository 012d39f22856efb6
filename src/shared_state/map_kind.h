#pragma once

namespace orvine {

// Which map the map window shows.
enum class MapKind { Japan, World };

} // namespace orvine
