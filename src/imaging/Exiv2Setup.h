#pragma once

namespace imaging {

// Exiv2 reports damaged metadata on standard error by default; the product reports the outcome
// itself, so the library's own messages are silenced once, before the first use.
void silenceExiv2Log();

// Prepares Exiv2 for use from several threads at once (its XMP toolkit must be set up before any
// thread touches XMP). Call once before starting threads that read or write metadata.
void prepareExiv2ForThreads();

} // namespace imaging
