#include "document/recovery_file.h"

#include <climits>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "base/text.h"
#include "document/recovery_lock.h"
#include "document/script_file.h"

namespace kolvre {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMagic = "KOLVRE-RECOVERY 1\n";
// A difference writes two numbers more than the whole text: it is worth it only when the head
// and tail it leaves out are longer than they are.
constexpr std::uint64_t kDifferenceCost = 40;

std::string hexHash(std::uint64_t hash) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out(16, '0');
  for (int i = 15; i >= 0; --i, hash >>= 4) out[static_cast<std::size_t>(i)] = kDigits[hash & 15];
  return out;
}

// Reads a recovery file field by field; every read checks what is left, so no number read can
// make it step outside the bytes.
class FieldReader {
 public:
  explicit FieldReader(std::string_view bytes) : rest_(bytes) {}

  bool word(std::string_view expected) {
    if (!rest_.starts_with(expected)) return false;
    rest_.remove_prefix(expected.size());
    return true;
  }
  // A decimal number, "0" or without leading zeros, at most `max`.
  std::optional<std::uint64_t> number(std::uint64_t max) {
    std::uint64_t value = 0;
    std::size_t n = 0;
    for (; n < rest_.size() && rest_[n] >= '0' && rest_[n] <= '9'; ++n) {
      if (n > 0 && value == 0) return std::nullopt;
      const auto digit = static_cast<std::uint64_t>(rest_[n] - '0');
      if (digit > max || value > (max - digit) / 10) return std::nullopt;
      value = value * 10 + digit;
    }
    if (n == 0) return std::nullopt;
    rest_.remove_prefix(n);
    return value;
  }
  // Sixteen lower-case hex digits.
  std::optional<std::uint64_t> hash() {
    if (rest_.size() < 16) return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < 16; ++i) {
      const char c = rest_[i];
      const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
      if (digit < 0) return std::nullopt;
      value = value << 4 | static_cast<std::uint64_t>(digit);
    }
    rest_.remove_prefix(16);
    return value;
  }
  std::optional<std::string_view> bytes(std::uint64_t count) {
    if (count > rest_.size()) return std::nullopt;
    const std::string_view taken = rest_.substr(0, static_cast<std::size_t>(count));
    rest_.remove_prefix(taken.size());
    return taken;
  }
  bool atEnd() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

// The fields through the pid line.
bool readHead(FieldReader& in, RecoveryRecord& record) {
  if (!in.word(kMagic) || !in.word("script ")) return false;
  const auto length = in.number(UINT64_MAX);
  if (!length || *length == 0 || !in.word("\n")) return false;
  const auto script = in.bytes(*length);
  if (!script || !in.word("\npid ")) return false;
  const auto pid = in.number(INT_MAX);
  if (!pid || *pid == 0 || !in.word("\n")) return false;
  record.script = std::string(*script);
  record.pid = static_cast<long>(*pid);
  return true;
}

// "<size> <hash>\n"
bool readSizeAndHash(FieldReader& in, std::uint64_t& size, std::uint64_t& hash) {
  const auto readSize = in.number(UINT64_MAX);
  if (!readSize || !in.word(" ")) return false;
  const auto readHash = in.hash();
  if (!readHash || !in.word("\n")) return false;
  size = *readSize;
  hash = *readHash;
  return true;
}

bool readData(FieldReader& in, RecoveryRecord& record) {
  record.whole = in.word("whole ");
  if (!record.whole) {
    if (!in.word("diff ")) return false;
    const auto prefix = in.number(record.baseSize);
    if (!prefix || !in.word(" ")) return false;
    const auto suffix = in.number(record.baseSize - *prefix);
    if (!suffix || !in.word(" ")) return false;
    record.prefix = *prefix;
    record.suffix = *suffix;
  }
  const auto length = in.number(UINT64_MAX);
  if (!length || !in.word("\n")) return false;
  // The text is the bytes written and, for a difference, the head and tail kept.
  if (record.textSize < *length || record.textSize - *length != record.prefix + record.suffix)
    return false;
  const auto data = in.bytes(*length);
  if (!data) return false;
  record.bytes = std::string(*data);
  return true;
}

}  // namespace

std::uint64_t fnv1a64(std::string_view bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const unsigned char c : bytes) {
    hash ^= c;
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

void setRecoveryData(RecoveryRecord& record, std::string_view base, std::string_view text) {
  const std::size_t prefix = commonHead(base, text);
  const std::size_t suffix = commonTail(base, text, std::min(base.size(), text.size()) - prefix);
  record.baseSize = base.size();
  record.baseHash = fnv1a64(base);
  record.textSize = text.size();
  record.textHash = fnv1a64(text);
  record.whole = prefix + suffix <= kDifferenceCost;
  record.prefix = record.whole ? 0 : prefix;
  record.suffix = record.whole ? 0 : suffix;
  record.bytes = record.whole ? std::string(text)
                              : std::string(text.substr(prefix, text.size() - prefix - suffix));
}

RecoveredText recoveredText(const RecoveryRecord& record, std::string_view base) {
  RecoveredText result;
  if (base.size() != record.baseSize || fnv1a64(base) != record.baseHash) {
    result.check = RecoveryCheck::BaseChanged;
    return result;
  }
  std::string text;
  if (record.whole) {
    text = record.bytes;
  } else {
    if (record.prefix > base.size() || record.suffix > base.size() - record.prefix) return result;
    text.reserve(static_cast<std::size_t>(record.prefix + record.bytes.size() + record.suffix));
    text.append(base.substr(0, static_cast<std::size_t>(record.prefix)));
    text.append(record.bytes);
    text.append(base.substr(base.size() - static_cast<std::size_t>(record.suffix)));
  }
  if (text.size() != record.textSize || fnv1a64(text) != record.textHash) return result;
  result.check = RecoveryCheck::Ok;
  result.text = std::move(text);
  return result;
}

std::string encodeRecovery(const RecoveryRecord& record) {
  std::string out(kMagic);
  out += "script " + std::to_string(record.script.size()) + "\n" + record.script + "\n";
  out += "pid " + std::to_string(record.pid) + "\n";
  out += "time " + std::to_string(record.time) + "\n";
  out += "base " + std::to_string(record.baseSize) + " " + hexHash(record.baseHash) + "\n";
  out += "text " + std::to_string(record.textSize) + " " + hexHash(record.textHash) + "\n";
  if (record.whole)
    out += "whole ";
  else
    out += "diff " + std::to_string(record.prefix) + " " + std::to_string(record.suffix) + " ";
  out += std::to_string(record.bytes.size()) + "\n";
  out += record.bytes;
  out += "\nend\n";
  return out;
}

std::optional<RecoveryRecord> decodeRecovery(std::string_view bytes) {
  FieldReader in(bytes);
  RecoveryRecord record;
  if (!readHead(in, record) || !in.word("time ")) return std::nullopt;
  const auto time = in.number(INT64_MAX);
  if (!time || !in.word("\nbase ")) return std::nullopt;
  record.time = static_cast<std::int64_t>(*time);
  if (!readSizeAndHash(in, record.baseSize, record.baseHash) || !in.word("text ") ||
      !readSizeAndHash(in, record.textSize, record.textHash) || !readData(in, record) ||
      !in.word("\nend\n") || !in.atEnd())
    return std::nullopt;
  return record;
}

std::string recoveryFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state && fs::path(state).is_absolute()) return (fs::path(state) / "kolvre").string();
  const char* home = std::getenv("HOME");
  if (home && fs::path(home).is_absolute())
    return (fs::path(home) / ".local" / "state" / "kolvre").string();
  return {};
}

std::string recoveryFilePath(const std::string& folder, const std::string& script) {
  if (folder.empty() || script.empty()) return {};
  return (fs::path(folder) / (hexHash(fnv1a64(fullPath(script))) + ".rec")).string();
}

int writeRecoveryFile(const std::string& path, std::string_view bytes) {
  if (const int err = makePrivateFolders(fs::path(path).parent_path().string())) return err;
  return writeFileSafely(path, bytes, Flush::ToDisk);
}

std::string recoveryTimeText(std::int64_t time) {
  const std::time_t when = static_cast<std::time_t>(time);
  std::tm local{};
  if (!::localtime_r(&when, &local)) return {};
  char text[32];
  const std::size_t n = std::strftime(text, sizeof text, "%d/%m/%Y %H:%M", &local);
  return std::string(text, n);
}

}  // namespace kolvre
