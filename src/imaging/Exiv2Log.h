#pragma once

namespace imaging {

// Exiv2 reports damaged metadata on standard error by default; the product reports the outcome
// itself, so the library's own messages are silenced once, before the first use.
void silenceExiv2Log();

} // namespace imaging
