#pragma once

namespace korvana {

// Registers the compiled-in pictures. Safe to call any number of times.
void InitResources();

}  // namespace korvana
