// The dialog exports of the stand-in. Until a script answers them, every dialog is
// cancelled (or, where it cannot be cancelled, given its default) and recorded.
#include <string>

#include "shared/fixed_text.h"
#include "shared/pravel_api.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace dialog_script {
namespace {
std::vector<std::string> g_transcript;
void record(std::string line) { g_transcript.push_back(std::move(line)); }
}  // namespace

void reset() { g_transcript.clear(); }
const std::vector<std::string>& transcript() { return g_transcript; }

}  // namespace dialog_script

using dialog_script::record;

extern "C" {

void GetIntegerP(const int16_t* msglen, const int16_t*, int16_t* value, int16_t* status,
                 const char* msg) {
  record("integer " + fixed_text::from_fixed(msg, *msglen));
  if (*status != pravel_api::kOk) *value = pravel_api::kNoInteger;
  *status = *status == pravel_api::kOk ? pravel_api::kOk : pravel_api::kCancel;
}
void GetRealP(const int16_t* msglen, const int16_t*, int16_t* status, float* value, const char* msg) {
  record("real " + fixed_text::from_fixed(msg, *msglen));
  *status = pravel_api::kCancel;
  *value = pravel_api::kNoReal;
}
void GetStringP(const int16_t* msglen, const int16_t*, const int16_t*, int16_t* status,
                const char* msg, char*) {
  record("string " + fixed_text::from_fixed(msg, *msglen));
  *status = pravel_api::kCancel;
}
void GetLogP(const int16_t* msglen, int16_t* answer, const int16_t*, int16_t* status, const char* msg) {
  record("yesno " + fixed_text::from_fixed(msg, *msglen));
  *answer = 0;
  *status = pravel_api::kNo;
}
void GetTextP(const int16_t* msglen, const int16_t*, const int16_t*, const int16_t*, int16_t* status,
              const int16_t*, const char* msg, char*, const char*, const int16_t*, const char*) {
  record("text " + fixed_text::from_fixed(msg, *msglen));
  *status = pravel_api::kCancel;
}
void GET1OPTIONP(const int16_t* titlelen, const int16_t*, const int16_t*, const int16_t*,
                 int16_t* status, int16_t*, const char* title, const char*) {
  record("menu " + fixed_text::from_fixed(title, *titlelen));
  *status = pravel_api::kCancel;
}
void GETSOMEOPTIONSP(const int16_t* titlelen, const int16_t*, const int16_t*, const int16_t*,
                     int16_t* status, int16_t*, const char* title, const char*) {
  record("choices " + fixed_text::from_fixed(title, *titlelen));
  *status = pravel_api::kCancel;
}
void GetOKP(const int16_t* msglen, const int16_t*, const int16_t* kind, const char* msg) {
  record("message " + std::to_string(*kind) + " " + fixed_text::from_fixed(msg, *msglen));
}
void GetOKLongP(const int16_t* nlines, const int16_t* width, const char* text) {
  for (const auto& line : fixed_text::split_items(text, *width, *nlines))
    record("long " + std::string(fixed_text::trim_right(line)));
}
void GetValuesP(double*, const char* msg, const char*, int16_t* status, const int16_t* msglen,
                const int16_t*, const int16_t*, const int16_t*) {
  record("values " + fixed_text::from_fixed(msg, *msglen));
  *status = pravel_api::kCancel;
}
void GetFileP(const int16_t*, const int16_t*, int16_t* mode, char*, const char*) {
  record("file");
  *mode = pravel_api::kCancel;
}
void ShowResultsP(const char* pagefile, const int16_t* len1, char*, const int16_t*, char*,
                  const int16_t*, int16_t* action) {
  record("results " + fixed_text::from_fixed(pagefile, *len1));
  *action = 0;
}
void ShowGraphP(const char* plotfile, const int16_t* len, int16_t* keep) {
  record("graph " + fixed_text::from_fixed(plotfile, *len));
  *keep = 0;
}
void StartCalcP(const int16_t* len, const char* text) {
  record("busy begin " + fixed_text::from_fixed(text, *len));
}
void StopCalcP(void) { record("busy end"); }
void DoBeepP(void) { record("beep"); }
void writefit(const int16_t*, const int16_t*, const int16_t*, const int16_t*, const int16_t*,
              const int16_t*, const int16_t*, const int16_t*, const int16_t*, const int16_t*,
              const char*, const char*, const char*, const double*, int16_t* status) {
  record("writefit");
  *status = 1;
}
void dobodge(void) {}

}  // extern "C"
