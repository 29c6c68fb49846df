// qorv-run: runs the engine headless, with the scripted dialog stand-in answering every
// dialog, and prints the transcript. Arguments run in order:
//   --data FILE        load a data file as the main program would
//   --script FILE      the answers, in the stand-in's script format
//   --slot N=VALUE     register exchange slot N
//   --char CODE=TEXT   register character setting CODE
//   --request R        call DRIVER with R and print "request R -> result, slots 4 21 22"
//   --print-data FILE  write the engine's data set to FILE as a comma-delimited file (the
//                      layout of the data saving), for checks outside the program
//   --help             print the usage and stop
// Exit status: 0 when no dialog was left unanswered and the cap was not reached, 1 when
// one was, 2 for bad arguments.
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/data/data_saving.h"
#include "shared/exchange_slots.h"
#include "shared/file_reading.h"
#include "shared/fixed_text.h"
#include "shared/names.h"
#include "shared/qorv_api.h"
#include "shared/zvd_file.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace {

namespace fs = std::filesystem;

void set_slot(int slot, int value) {
  const auto s = static_cast<int16_t>(slot);
  const auto v = static_cast<int32_t>(value);
  REGISTERINT(&v, &s);
}

int get_slot(int slot) {
  const auto s = static_cast<int16_t>(slot);
  int32_t v = 0;
  RETRIEVEINT(&v, &s);
  return v;
}

void set_char(int code, std::string_view text) {
  const std::string buffer(text);
  const auto len = static_cast<int16_t>(buffer.size());
  const auto c = static_cast<int16_t>(code);
  REGISTERCHAR(buffer.data(), &len, &c);
}

int request(int code) {
  auto r = static_cast<int16_t>(code);
  DRIVER(&r);
  return r;
}

/// Registers a ZVD data set in the host's order and sets data-input kind 3.
bool register_zvd(const fs::path& path) {
  const zvd::ReadResult read = zvd::read_file(path);
  if (read.error != zvd::ReadError::kNone) {
    std::cerr << "qorv-run: " << path.string() << ": " << zvd::read_message(read) << "\n";
    return false;
  }
  const zvd::DataSet& d = read.data_set;
  const zvd::Shape& s = d.shape;
  for (const auto& [slot, value] : {std::pair{8, s.nobs}, {4, s.nvars}, {7, s.frequency}, {20, s.periods_per_year},
                                    {12, s.start_year}, {13, s.start_period}, {14, s.century_base}})
    set_slot(slot, value);
  const int16_t flag = 0, nobs = static_cast<int16_t>(s.nobs), nvars = static_cast<int16_t>(s.nvars);
  REGISTERDATA(d.data.data(), &flag, &nobs, &nvars);
  for (int i = 0; i < s.nvars; ++i) {
    const std::string name = fixed_text::pad(names::upper(d.names[static_cast<std::size_t>(i)]), limits::kNameWidth);
    const std::string desc = fixed_text::pad(d.descriptions[static_cast<std::size_t>(i)], limits::kDescWidth);
    const auto index = static_cast<int16_t>(i + 1);
    const int16_t nl = limits::kNameWidth, dl = limits::kDescWidth;
    REGISTERVARS(name.data(), desc.data(), &index, &nl, &dl);
  }
  set_char(charset::kDataFile, path.string());
  set_slot(slots::kDataInputKind, 3);
  return true;
}

/// The data-input kind the engine reads a file of this extension with; 0 for none.
int engine_kind(std::string extension) {
  for (char& c : extension) c = names::to_upper(c);
  if (extension == ".CSV" || extension == ".TXT" || extension == ".PRN") return 6;
  if (extension == ".DAT" || extension == ".ASC") return 2;
  if (extension == ".TSD") return 7;
  return 0;
}

bool parse_int(std::string_view text, int& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc{} && end == text.data() + text.size();
}

/// Splits "N=TEXT" into its number and text.
bool split_assignment(std::string_view arg, int& number, std::string& text) {
  const auto eq = arg.find('=');
  if (eq == std::string_view::npos || !parse_int(arg.substr(0, eq), number)) return false;
  text = std::string(arg.substr(eq + 1));
  return true;
}

/// Writes the engine's data set as a comma-delimited file; false when it cannot, or when a
/// folder, FIFO or device stands at `path`.
bool print_data(const fs::path& path) {
  if (file_reading::writable_target(path) != file_reading::Failure::kNone) return false;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (const std::string& line : qorv::data::workspace_csv_lines()) out << line << "\n";
  return static_cast<bool>(out.flush());
}

constexpr char kUsage[] =
    "usage: qorv-run [--data FILE] [--script FILE] [--slot N=VALUE] [--char CODE=TEXT] [--request R]\n"
    "                [--print-data FILE] ...\n"
    "Runs the engine without windows; a script answers its dialogs and the transcript of\n"
    "everything it showed is printed. The arguments run in order:\n"
    "  --data FILE        load a data file (.zvd as the program reads it; .csv .txt .prn\n"
    "                     .dat .asc .tsd through the engine) and print \"data FILE -> status\"\n"
    "  --script FILE      the answers to the engine's dialogs (format: tests/support/dialog_script/README.md)\n"
    "  --slot N=VALUE     set exchange slot N, for example 5=2 for single-equation estimation\n"
    "  --char CODE=TEXT   set character setting CODE, for example 3=\"LC INPT LY\" for the equation\n"
    "  --request R        run request R (1 read data, 3 carry out a request) and print\n"
    "                     \"request R -> result, slots 4 21 22: variables, sample start, end\"\n"
    "  --print-data FILE  write the engine's data set to FILE in the layout of Save As CSV\n"
    "  --help             print this text\n"
    "Exit status: 0 when every dialog was answered, 1 when one was not, 2 for bad arguments.\n";

int usage(const std::string& why) {
  std::cerr << "qorv-run: " << why << "\n" << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (std::find(args.begin(), args.end(), "--help") != args.end()) {
    std::cout << kUsage;
    return 0;
  }
  const fs::path temp = fs::temp_directory_path() / ("qorv-run-" + std::to_string(::getpid()));
  fs::create_directories(temp);
  set_char(charset::kTempFolder, temp.string() + "/");
  const fs::path program = fs::canonical("/proc/self/exe").parent_path();
  for (const fs::path& folder : {program, program.parent_path() / "engine"})
    if (fs::exists(folder / "ERROR4.ZQT")) set_char(charset::kProgramFolder, folder.string() + "/");
  int status = 0;
  try {
    for (std::size_t i = 0; i < args.size(); ++i) {
      const std::string& a = args[i];
      if (i + 1 >= args.size()) return usage("missing value after " + a);
      const std::string& v = args[++i];
      if (a == "--data") {
        const fs::path path = v;
        if (path.extension() == ".zvd" || path.extension() == ".ZVD") {
          if (!register_zvd(path)) return usage("cannot read " + v);
        } else if (const int kind = engine_kind(path.extension().string())) {
          set_char(charset::kDataFile, path.string());
          set_slot(slots::kDataInputKind, kind);
        } else {
          return usage("unknown data file kind: " + v);
        }
        std::cout << "data " << path.filename().string() << " -> " << request(1) << "\n";
      } else if (a == "--script") {
        dialog_script::load_file(v);
      } else if (a == "--slot" || a == "--char") {
        int number = 0;
        std::string text;
        if (!split_assignment(v, number, text)) return usage("bad " + a + " " + v);
        if (a == "--char") {
          set_char(number, text);
        } else {
          int value = 0;
          if (!parse_int(text, value)) return usage("bad " + a + " " + v);
          set_slot(number, value);
        }
      } else if (a == "--request") {
        int r = 0;
        if (!parse_int(v, r)) return usage("bad request " + v);
        const int result = request(r);
        std::cout << "request " << r << " -> " << result << ", slots 4 21 22: " << get_slot(4) << " "
                  << get_slot(21) << " " << get_slot(22) << "\n";
      } else if (a == "--print-data") {
        if (!print_data(v)) return usage("cannot write " + v);
      } else {
        return usage("unknown argument " + a);
      }
    }
  } catch (const dialog_script::CapReached&) {
    status = 1;
  } catch (const std::exception& e) {
    std::cerr << "qorv-run: " << e.what() << "\n";
    status = 2;
  }
  std::cout << dialog_script::transcript_text();
  if (status == 0 && !dialog_script::failures().empty()) status = 1;
  for (const std::string& f : dialog_script::failures()) std::cerr << "qorv-run: " << f << "\n";
  std::error_code ec;
  fs::remove_all(temp, ec);
  return status;
}
