// Solutions kept on disk, so that reopening a station or writing its record
// does not run the engine again.  A solution is filed under the whole of
// what it is computed from: the engine's name and version, the model's
// deck, the frequencies, the limits' band, the powers and cases (the finer
// samples follow the limits), the grid and the single points, and the
// file's own format.  The file holds that text whole and is used only when
// it matches exactly; anything else in it (another format, a damaged or
// cut-short file) is ignored and the engine runs as if there were none.
#pragma once

#include <optional>
#include <string>

#include "nearfield/NearField.h"

namespace korrin::nearfield {

// Everything a request's solution depends on, as text, for `engine` ("nec2c
// 1.3").
std::string CacheText(const Request& request, const std::string& engine);

// The solution filed under `text` in `folder`, if there is one that holds
// exactly that text and reads whole.
std::optional<Solution> LoadCachedSolution(const std::string& folder, const std::string& text);

// Files the solution under `text` in `folder` (made if need be): written to
// a new file of its own there, then renamed into place, so that a reader
// never sees half a file.  False when it could not be written (a cache only:
// nothing else depends on it).
bool StoreCachedSolution(const std::string& folder, const std::string& text,
                         const Solution& solution);

// The user's cache folder for solutions: $XDG_CACHE_HOME/korrin/near-field,
// else ~/.cache/korrin/near-field; empty when neither can be found.
std::string DefaultCacheFolder();

}  // namespace korrin::nearfield
