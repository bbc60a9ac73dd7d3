#ifndef ORVANEFILENAMES_H
#define ORVANEFILENAMES_H

#include "orvaneengine_export.h"

#include <QString>

// The names of the files that lie beside an input: its reports, its side
// files, the inputs and outputs of the external programs. Two rules, and each
// file says which it follows: a side file of a run (an .omega, an .orvane, an
// .orvaneexp) takes the input's base name, so that "a.b.out" and "a.out" share
// one; a derived file keeps everything of the input's name but its last
// extension. Pure text functions: nothing is looked up on the disk.
namespace OrvaneFileNames {

// The extension of the file name of `path`: the text after its last dot,
// empty when the name has none. Dots in the folder part do not count.
ORVANEENGINE_EXPORT QString finalSuffix(const QString& path);

// `path` with the extension of its file name (the text after the last dot)
// replaced by `suffix`, or with "." + `suffix` appended when the name has no
// dot. The folder part stays exactly as written.
ORVANEENGINE_EXPORT QString withFinalSuffix(const QString& path, const QString& suffix);

// The absolute folder of `path`, "/", the base name of its file name (the
// text before the first dot) and "." + `suffix`.
ORVANEENGINE_EXPORT QString withBaseName(const QString& path, const QString& suffix);

} // namespace OrvaneFileNames

#endif
