// The two link labels at the bottom of the window open the maker's site.
#pragma once

#include <cstdint>

// Left button pressed on 标签9. A quick second press arrives as a double click, not here.
void OnSiteLinkPressed(int32_t x, int32_t y, uint32_t keys);

// Left button released on 标签10; every release counts, so a double click opens twice.
void OnSiteLinkReleased(int32_t x, int32_t y, uint32_t keys);
