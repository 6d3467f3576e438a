#pragma once
// The synopsis of tzind sample, shown by tzind and by the program that runs it.
#include <QString>

namespace tz::cli {

inline const QString kSampleUsage = QStringLiteral(
    "sample [--no-printer] [--preview-dpi N] [--format png|bmp|tzg] [--jobs N] [--stats] -o OUT LIST|PATH...\n"
    "      make the sample sheets of a list file, or of fonts, archives and folders, in preview\n"
    "      mode: pages tzsm0001.png ... (or .bmp, or the page files 0001.tzg), index.tsv and\n"
    "      log.txt in the folder OUT; an OUT ending in .pdf is one vector catalog of the pages;\n"
    "      --jobs N draws and stores the pages on N threads (default: the settings, else every core);\n"
    "      --stats prints the row count and the slowest row's time; --all-formats or\n"
    "      --designed-formats (both forms) choose the fonts and archives read, else the setting\n"
    "sample --print [--printer NAME] [--dpi N] [-o OUT] LIST|PATH...\n"
    "      print the sample sheets on the current printer or the printer NAME (at N pixels per\n"
    "      inch instead of the printer's own); the log goes to standard error (and log.txt in OUT)");

} // namespace tz::cli
