// Batch files of any bytes read line by line: every logical line fits the statement
// buffer, and the reader ends.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/data/batch_file.h"

using namespace qorv::data;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, std::size_t size) {
  BatchRecords records(std::string(reinterpret_cast<const char*>(bytes), size));
  std::string statement;
  std::size_t lines = 0;
  for (CommandLineStatus s; (s = READCOMMANDLINE(records, statement, 64)) != CommandLineStatus::kEnd;) {
    if (statement.size() > 64) std::abort();
    if (s == CommandLineStatus::kStatement && (statement.empty() || statement.front() == ' ')) std::abort();
    if (++lines > size) std::abort();  // each line consumes at least one record
  }
  return 0;
}
