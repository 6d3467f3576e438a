#pragma once
// WOFF and WOFF2 files: the tables of sfnt faces, compressed for the web
// (WOFF per table with zlib, WOFF2 all tables as one Brotli stream, a WOFF2
// file possibly holding a collection). Naming decodes only the `name` tables;
// drawing decodes a face back into an sfnt.
//
// Decoded data is bounded by the file: no more than kMaxDecodedPerByte bytes
// per byte of the file plus a megabyte, and never more than kMaxDecoded, so
// a lying header or a compression bomb costs little time and memory.
#include "fontfile/ByteSource.h"

#include <QByteArrayList>
#include <optional>
#include <span>

namespace tz {

constexpr quint64 kMaxDecoded = quint64(128) << 20;
constexpr quint64 kMaxDecodedPerByte = 64;

// Whether the bytes start with the WOFF or the WOFF2 signature.
bool IsWebFont(const ByteSource& source);
// Whether they are a WOFF2 collection, the only web font with several faces.
bool IsWebFontCollection(const ByteSource& source);

// The `name` table of every face of a WOFF or WOFF2 file, in face order,
// each cut after the bytes a name record can reach; empty for a face without
// one or without outlines (TrueType, CFF, Apple TrueType). Nothing when the directory or the compressed data
// can't be read.
std::optional<QByteArrayList> WebFontNameTables(const ByteSource& source);

// Face `index` of a WOFF or WOFF2 file as a standalone sfnt; empty when there
// is no such face or it can't be decoded. WOFF2 glyf, loca and hmtx tables
// stored with their transforms are reconstructed. Given tags, the sfnt holds
// only the face's tables with those tags (a WOFF2 stream decoded no further
// than they lie): the facts of a few small tables without the outlines.
QByteArray DecodeWebFace(const ByteSource& source, int index, std::span<const quint32> onlyTags = {});

} // namespace tz
