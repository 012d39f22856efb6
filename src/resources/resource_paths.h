#pragma once
// Paths of the shipped images inside the program's resources.
namespace orvine {
constexpr const char* ICON32 = ":/images/globe-32.png";
constexpr const char* ICON16 = ":/images/globe-16.png";
constexpr const char* JAPAN_MAP = ":/images/japan_map.png";
constexpr const char* WORLD_MAP = ":/images/world_map.png";
} // namespace orvine
