#pragma once
// Paths of the shipped images inside the program's resources.
namespace orvine {
constexpr const char* kIcon32 = ":/images/globe-32.png";
constexpr const char* kIcon16 = ":/images/globe-16.png";
constexpr const char* kJapanMap = ":/images/japan_map.png";
constexpr const char* kWorldMap = ":/images/world_map.png";
} // namespace orvine
