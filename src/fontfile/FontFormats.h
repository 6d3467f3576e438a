#pragma once
// Which file formats are read. The program's own formats are TrueType
// outlines (TrueType files, TrueType collections, OpenType with TrueType
// outlines, Macintosh fonts) and ZIP, LZH, CAB and self-extracting archives.
// The wider set, chosen in the environment settings or with tzind's
// --all-formats, adds OpenType CFF/CFF2 files and collections, Apple
// TrueType, WOFF, WOFF2 and data-fork suitcases, and 7z, tar and RAR archives.
namespace tz {

enum class FontFormats {
    Designed, // the program's own formats only
    All, // also the wider set
};

} // namespace tz
