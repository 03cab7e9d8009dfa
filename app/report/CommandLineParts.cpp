#include "app/report/CommandLineParts.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

namespace korrin::report::detail {

// What an argument CLI11 set aside is: an option it does not know, or a
// second station file.
std::string Unexpected(const std::vector<std::string>& leftOver) {
  for (const std::string& arg : leftOver) {
    if (arg == "--") continue;  // the end of the options, set aside too
    if (arg.size() > 1 && arg[0] == '-') return "unknown option \"" + arg + "\"";
    return "unexpected argument \"" + arg + "\": give at most one station file";
  }
  return "unexpected argument";
}

// CLI11 sets unknown arguments aside and refuses them only at the end; an
// option reached after one stops there, so that the first fault is told.
void StopAtAnEarlierFault(const CLI::App& app) {
  if (app.remaining_size() > 0) throw UsageError(Unexpected(app.remaining()));
}

// A switch; `apply` runs where it stands.  "--name=value" is refused.
CLI::Option* Switch(CLI::App& app, const char* name, const char* group, const char* help,
                    const std::function<void()>& apply) {
  return app
      .add_flag_callback(
          name,
          [&app, apply] {
            StopAtAnEarlierFault(app);
            apply();
          },
          help)
      ->group(group)
      ->disable_flag_override()
      ->trigger_on_parse();
}

// An option taking one value, shown as `value` in --help; `needs` says
// what is missing when nothing follows it.  `apply` takes the value where
// the option stands and returns "" or what is wrong with it.
CLI::Option* Value(CLI::App& app, Reading& r, const char* name, const char* value,
                   const std::string& needs, const char* group, const char* help,
                   const std::function<std::string(const std::string&)>& apply) {
  r.needs[name] = needs;
  return app
      .add_option(
          name,
          [&app, apply](const CLI::results_t& results) {
            StopAtAnEarlierFault(app);
            const std::string error = apply(results.empty() ? std::string() : results.back());
            if (!error.empty()) throw UsageError(error);
            return true;
          },
          help)
      ->type_name(value)
      ->group(group)
      ->trigger_on_parse();
}

CLI::Option* TwoValues(
    CLI::App& app, Reading& r, const char* name, const char* values, const std::string& needs,
    const char* group, const char* help,
    const std::function<std::string(const std::string&, const std::string&)>& apply) {
  r.needs[name] = needs;
  return app
      .add_option(
          name,
          [&app, apply, name, needs](const CLI::results_t& results) {
            StopAtAnEarlierFault(app);
            if (results.size() < 2)
              throw UsageError(std::string("option ") + name + " needs " + needs);
            const std::string error = apply(results[results.size() - 2], results.back());
            if (!error.empty()) throw UsageError(error);
            return true;
          },
          help)
      ->type_name(values)
      ->expected(2)
      ->group(group)
      ->trigger_on_parse();
}

// ".png" or ".svg" in any case, after a name.
bool HasPlotExtension(const std::string& path) {
  if (path.size() < 5) return false;
  std::string ext = path.substr(path.size() - 4);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".png" || ext == ".svg";
}

// A picture or page FILE, refused when empty or when this build draws none.
std::function<std::string(const std::string&)> OutputFile(const Reading& r, const char* name,
                                                          std::string& field) {
  return [&r, name, &field](const std::string& path) -> std::string {
    if (path.empty()) return std::string("option ") + name + " needs a FILE";
    if (!r.picturesAvailable) {
      return std::string("option ") + name + " is not available: " + kNoWindow;
    }
    field = path;
    return "";
  };
}

std::function<std::string(const std::string&)> OutputFileEnding(const Reading& r, const char* name,
                                                                std::string& field,
                                                                const char* extension) {
  return [&r, name, extension, file = OutputFile(r, name, field)](const std::string& path) {
    const std::string_view ending(extension);
    std::string tail = path.size() > ending.size() ? path.substr(path.size() - ending.size()) : "";
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!path.empty() && r.picturesAvailable && tail != ending) {
      return std::string("option ") + name + " writes a FILE ending in " + extension + ", not \"" +
             path + "\"";
    }
    return file(path);
  };
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {};
  struct stat sb {};
  if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0) {
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  }
  std::error_code ea;
  std::error_code eb;
  const auto ca = std::filesystem::weakly_canonical(std::filesystem::absolute(a, ea), ea);
  const auto cb = std::filesystem::weakly_canonical(std::filesystem::absolute(b, eb), eb);
  if (ea || eb) return a == b;
  return ca == cb;
}

std::string CheckOutputsApart(const Options& o) {
  struct Named {
    std::string option;
    const std::string* path;
  };
  std::vector<Named> outputs = {{"--png", &o.pngPath},
                                {"--pdf", &o.pdfPath},
                                {"--plot", &o.plotPath},
                                {"--moon-plot", &o.moon.plotPath},
                                {"--record", &o.recordPath},
                                {"--site-plan", &o.sitePlanPath},
                                {"--near-field-map", &o.nearFieldMapPath},
                                {"--station-file", &o.station.writePath}};
  std::vector<Named> inputs = {{"the station file", &o.stationFile}};
  for (const Action& a : o.actions) {
    if (a.kind != Action::Kind::FileDialog || !a.answer || a.answer->empty()) continue;
    (a.target == "Save_DataClick" ? outputs : inputs).push_back({"--do " + a.text, &*a.answer});
  }
  std::erase_if(outputs, [](const Named& n) { return n.path->empty(); });
  std::erase_if(inputs, [](const Named& n) { return n.path->empty(); });
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    for (const Named& in : inputs) {
      if (SameFile(*outputs[i].path, *in.path)) {
        return "option " + outputs[i].option + " would overwrite " + in.option + " \"" + *in.path +
               "\" that it reads: give another FILE";
      }
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (SameFile(*outputs[i].path, *outputs[j].path)) {
        return "options " + outputs[j].option + " and " + outputs[i].option +
               " name the same file \"" + *outputs[i].path + "\": give each its own";
      }
    }
  }
  return "";
}

// A plot's FILE: as OutputFile, and PNG or SVG by its extension.
std::function<std::string(const std::string&)> PlotFile(const Reading& r, const char* name,
                                                        std::string& field) {
  return [&r, name, file = OutputFile(r, name, field)](const std::string& path) {
    if (!path.empty() && r.picturesAvailable && !HasPlotExtension(path)) {
      return std::string("option ") + name + " writes FILE.png or FILE.svg";
    }
    return file(path);
  };
}
}  // namespace korrin::report::detail
