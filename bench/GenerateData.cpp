// Writes the benchmark's input files into a folder. The output is the same on every machine and every run:
// the random numbers come from our own fixed-seed generator, never from library distributions.
//
//   tabulane_bench_generate [--scale N] FOLDER
//
// --scale N divides every file size by N (the quick benchmark uses 16).

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tabulane {
namespace {

constexpr std::uint64_t kKiB = 1024;
constexpr std::uint64_t kMiB = 1024 * kKiB;
constexpr std::uint64_t kGiB = 1024 * kMiB;
constexpr std::size_t kFlushSize = 4 * kMiB;

// splitmix64: tiny, fast and fully specified, so the bytes never change with the standard library.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // The modulo bias is far below anything a benchmark could notice.
    std::uint64_t Below(std::uint64_t bound) { return Next() % bound; }
    bool Percent(unsigned percent) { return Below(100) < percent; }

    template <typename List>
    std::string_view Pick(const List& list) {
        return list[Below(list.size())];
    }

private:
    std::uint64_t m_state;
};

// Names in several scripts so that the UTF-8 and UTF-16 files hold multi-byte characters (and one surrogate pair).
constexpr std::array<std::string_view, 40> kFirstNames = {
    "James", "Mary", "Robert", "Patricia", "John",   "Jennifer", "Michael", "Linda",  "David",  "Elizabeth",
    "José",  "Zoë",  "Łukasz", "Søren",    "Anaïs",  "Björn",    "Çağla",   "Dmitri", "Олег",   "Αλέξανδρος",
    "Wei",   "Yuki", "Priya",  "Ahmed",    "Fatima", "Chen",     "Mateo",   "Sofia",  "Liam",   "Olivia",
    "Noah",  "Emma", "Lucas",  "Mia",      "Ethan",  "Amelia",   "Henry",   "Ava",    "Oliver", "Isabella"};

constexpr std::array<std::string_view, 40> kLastNames = {
    "Smith",     "Johnson",      "Williams",  "Brown",  "Jones", "Garcia",    "Miller",   "Davis",
    "Rodriguez", "Martinez",     "Hernández", "Müller", "Nowak", "Jørgensen", "Dubois",   "Öztürk",
    "Иванов",    "Παπαδόπουλος", "王",        "佐藤",   "Kumar", "Hassan",    "van Dijk", "O'Brien",
    "Lee",       "Walker",       "Hall",      "Allen",  "Young", "King",      "Wright",   "Scott",
    "Green",     "Baker",        "Adams",     "Nelson", "Hill",  "Campbell",  "Mitchell", "Roberts"};

constexpr std::array<std::string_view, 24> kCities = {
    "London",    "Paris",    "New York",  "Tokyo",   "Berlin", "Madrid",     "Rome",   "Amsterdam",
    "São Paulo", "Montréal", "København", "Zürich",  "Kraków", "İstanbul",   "Москва", "Αθήνα",
    "北京",      "Sydney",   "Toronto",   "Chicago", "Dublin", "Wellington", "Lisbon", "Oslo 😀"};

constexpr std::array<std::string_view, 6> kStatuses = {"active", "closed", "pending", "on hold", "archived", "new"};

constexpr std::array<std::string_view, 48> kWords = {
    "order",   "shipped",  "late",    "customer", "called",   "about",    "the",      "invoice", "paid",    "in",
    "full",    "refund",   "issued",  "please",   "check",    "address",  "missing",  "box",     "damaged", "on",
    "arrival", "replaced", "twice",   "note",     "from",     "support",  "priority", "low",     "high",    "urgent",
    "waiting", "for",      "stock",   "partial",  "delivery", "see",      "ticket",   "follow",  "up",      "next",
    "week",    "discount", "applied", "account",  "closed",   "reopened", "by",       "request"};

// Buffers output in large blocks; every failure is an exception that names the file.
class OutputFile {
public:
    explicit OutputFile(std::filesystem::path path)
        : m_path(std::move(path)), m_file(std::fopen(m_path.string().c_str(), "wb")) {
        if (m_file == nullptr) {
            Fail("cannot create");
        }
        std::setvbuf(m_file, nullptr, _IONBF, 0);
        m_buffer.reserve(kFlushSize + 64 * kKiB);
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile() {
        if (m_file != nullptr) {
            std::fclose(m_file);
        }
    }

    void Append(std::string_view bytes) {
        m_buffer.append(bytes);
        if (m_buffer.size() >= kFlushSize) {
            Flush();
        }
    }

    void Close() {
        Flush();
        std::FILE* file = m_file;
        m_file = nullptr;
        if (std::fclose(file) != 0) {
            Fail("cannot close");
        }
    }

private:
    void Flush() {
        if (!m_buffer.empty() && std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file) != m_buffer.size()) {
            Fail("cannot write");
        }
        m_buffer.clear();
    }

    [[noreturn]] void Fail(const char* what) const {
        throw std::runtime_error(std::string(what) + " " + m_path.string() + ": " + std::strerror(errno));
    }

    std::filesystem::path m_path;
    std::FILE* m_file;
    std::string m_buffer;
};

void AppendNumber(std::string& out, std::uint64_t value, int minDigits = 1) {
    std::array<char, 24> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    const auto length = static_cast<int>(result.ptr - digits.data());
    out.append(static_cast<std::size_t>(minDigits > length ? minDigits - length : 0), '0');
    out.append(digits.data(), result.ptr);
}

void AppendDate(std::string& out, Random& random) {
    AppendNumber(out, 1950 + random.Below(75));
    out += '-';
    AppendNumber(out, 1 + random.Below(12), 2);
    out += '-';
    AppendNumber(out, 1 + random.Below(28), 2);
}

void AppendTime(std::string& out, Random& random) {
    AppendNumber(out, random.Below(24), 2);
    out += ':';
    AppendNumber(out, random.Below(60), 2);
    out += ':';
    AppendNumber(out, random.Below(60), 2);
}

// Mostly small amounts, a few large ones, some negative: field widths vary the way real ledgers do.
void AppendAmount(std::string& out, Random& random) {
    if (random.Percent(10)) {
        out += '-';
    }
    AppendNumber(out, random.Percent(80) ? random.Below(1000) : random.Below(10000000));
    out += '.';
    AppendNumber(out, random.Below(100), 2);
}

void AppendWords(std::string& out, Random& random, std::uint64_t count) {
    for (std::uint64_t i = 0; i < count; ++i) {
        if (i > 0) {
            out += ' ';
        }
        out += random.Pick(kWords);
    }
}

void AppendEmail(std::string& out, Random& random) {
    out += static_cast<char>('a' + random.Below(26));
    out += '.';
    out += random.Pick(kWords);
    AppendNumber(out, random.Below(10000));
    out += "@example.org";
}

// One customer record: id, names, date (sometimes with a time), amount, quantity, city, e-mail, status, comment.
// Amount, e-mail and comment are sometimes empty, which gives two tabs in a row.
void AppendTabRecord(std::string& out, Random& random, std::uint64_t id) {
    AppendNumber(out, id);
    out += '\t';
    out += random.Pick(kFirstNames);
    out += '\t';
    out += random.Pick(kLastNames);
    out += '\t';
    AppendDate(out, random);
    if (random.Percent(30)) {
        out += ' ';
        AppendTime(out, random);
    }
    out += '\t';
    if (!random.Percent(8)) {
        AppendAmount(out, random);
    }
    out += '\t';
    AppendNumber(out, random.Percent(90) ? random.Below(100) : random.Below(100000));
    out += '\t';
    out += random.Pick(kCities);
    out += '\t';
    if (!random.Percent(12)) {
        AppendEmail(out, random);
    }
    out += '\t';
    out += random.Pick(kStatuses);
    out += '\t';
    if (!random.Percent(25)) {
        AppendWords(out, random, 1 + random.Below(14));
    }
}

void PadRight(std::string& out, std::size_t fieldStart, std::size_t width) {
    const std::size_t used = out.size() - fieldStart;
    out.append(used < width ? width - used + 1 : 1, ' ');
}

void AppendRightAligned(std::string& out, std::string_view text, std::size_t width) {
    if (text.size() < width) {
        out.append(width - text.size(), ' ');
    }
    out += text;
    out += ' ';
}

// A fixed-width report line: right-aligned numbers (so most lines start with spaces), left-aligned text padded
// with runs of spaces, blank amounts, and trailing spaces whenever the comment is empty.
void AppendSpaceRecord(std::string& out, std::string& scratch, Random& random, std::uint64_t id) {
    scratch.clear();
    AppendNumber(scratch, id);
    AppendRightAligned(out, scratch, 10);
    std::size_t start = out.size();
    out += random.Pick(kFirstNames);
    PadRight(out, start, 12);
    start = out.size();
    out += random.Pick(kLastNames);
    PadRight(out, start, 14);
    start = out.size();
    AppendDate(out, random);
    PadRight(out, start, 11);
    scratch.clear();
    if (!random.Percent(8)) {
        AppendAmount(scratch, random);
    }
    AppendRightAligned(out, scratch, 12);
    out += ' ';
    start = out.size();
    out += random.Pick(kStatuses);
    PadRight(out, start, 10);
    if (!random.Percent(30)) {
        AppendWords(out, random, 1 + random.Below(8));
    }
}

// One value per line: numbers, amounts, names, dates, words and the odd empty line.
void AppendLineValue(std::string& out, Random& random) {
    const std::uint64_t kind = random.Below(100);
    if (kind < 30) {
        AppendNumber(out, random.Below(1000000));
    } else if (kind < 50) {
        AppendAmount(out, random);
    } else if (kind < 70) {
        out += random.Pick(kFirstNames);
    } else if (kind < 85) {
        AppendDate(out, random);
    } else if (kind < 95) {
        out += random.Pick(kWords);
    }
}

// UTF-8 (well-formed: our own literals) to UTF-16LE bytes. No code unit but the tab itself may hold a 0x09 byte,
// so that a byte-wise tab replacement on the file gives exactly the correct conversion (the bench checks this).
void AppendUtf16LE(std::string& out, std::string_view utf8) {
    const auto putUnit = [&out](std::uint32_t unit) {
        if (unit != 0x09 && ((unit & 0xFF) == 0x09 || (unit >> 8) == 0x09)) {
            throw std::logic_error("UTF-16 code unit with a tab byte in the sample text");
        }
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::uint32_t codePoint = length == 1   ? lead
                                  : length == 2 ? lead & 0x1F
                                  : length == 3 ? lead & 0x0F
                                                : lead & 0x07;
        for (std::size_t k = 1; k < length; ++k) {
            codePoint = (codePoint << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        i += length;
        if (codePoint >= 0x10000) {
            codePoint -= 0x10000;
            putUnit(0xD800 + (codePoint >> 10));
            putUnit(0xDC00 + (codePoint & 0x3FF));
        } else {
            putUnit(codePoint);
        }
    }
}

// Writes records until the file is exactly `size` bytes. A record that would overshoot (or leave less room than
// `minTail`) ends the loop; a filler line of `pattern` repeated, then `lineEnd`, takes up the exact rest.
template <typename MakeRecord>
void WriteExactly(const std::filesystem::path& path, std::uint64_t size, std::string_view head,
                  std::string_view pattern, std::string_view lineEnd, MakeRecord makeRecord) {
    OutputFile out(path);
    std::uint64_t left = size;
    if (head.size() <= left) {
        out.Append(head);
        left -= head.size();
    }
    const std::uint64_t minTail = lineEnd.size() + pattern.size();
    std::string record;
    while (left > 0) {
        record.clear();
        makeRecord(record);
        if (record.size() > left || (record.size() < left && left - record.size() < minTail)) {
            break;
        }
        out.Append(record);
        left -= record.size();
    }
    if (left > 0) {
        record.clear();
        const std::uint64_t body = left > lineEnd.size() ? left - lineEnd.size() : 0;
        while (record.size() < body) {
            record += pattern;
        }
        record.resize(body);
        record += lineEnd.substr(0, left - body);
        out.Append(record);
    }
    out.Close();
}

void GenerateAll(const std::filesystem::path& folder, std::uint64_t scale) {
    std::string scratch;
    std::uint64_t id = 0;

    Random tabs(1);
    WriteExactly(folder / "tabs.tsv", kGiB / scale, "", "filler\t", "\n", [&](std::string& out) {
        AppendTabRecord(out, tabs, ++id);
        out += '\n';
    });

    Random spaces(2);
    id = 0;
    WriteExactly(folder / "spaces.txt", 256 * kMiB / scale, "", "filler ", "\n", [&](std::string& out) {
        AppendSpaceRecord(out, scratch, spaces, ++id);
        out += '\n';
    });

    Random lines(3);
    WriteExactly(folder / "lines.txt", 256 * kMiB / scale, "", "0", "\r\n", [&](std::string& out) {
        AppendLineValue(out, lines);
        out += "\r\n";
    });

    Random utf16(4);
    id = 0;
    const std::string_view utf16CrLf("\r\0\n\0", 4);
    WriteExactly(folder / "utf16.tsv", 64 * kMiB / scale / 2 * 2, "\xFF\xFE", std::string_view("x\0", 2), utf16CrLf,
                 [&](std::string& out) {
                     scratch.clear();
                     AppendTabRecord(scratch, utf16, ++id);
                     AppendUtf16LE(out, scratch);
                     out += utf16CrLf;
                 });

    // Records joined by tabs and never a line break: the whole file is one line.
    Random oneline(5);
    id = 0;
    WriteExactly(folder / "oneline.txt", 256 * kMiB / scale, "", "filler\t", "", [&](std::string& out) {
        AppendTabRecord(out, oneline, ++id);
        out += '\t';
    });

    Random tiny(6);
    id = 0;
    WriteExactly(folder / "tiny.txt", kKiB / scale, "", "filler\t", "\n", [&](std::string& out) {
        AppendTabRecord(out, tiny, ++id);
        out += '\n';
    });
}

int Run(int argc, char** argv) {
    std::uint64_t scale = 1;
    std::filesystem::path folder;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--scale" && i + 1 < argc) {
            const std::string_view value = argv[++i];
            const auto result = std::from_chars(value.data(), value.data() + value.size(), scale);
            if (result.ec != std::errc() || result.ptr != value.data() + value.size() || scale == 0 || scale > kKiB) {
                std::fprintf(stderr, "--scale wants a whole number from 1 to 1024\n");
                return 2;
            }
        } else if (folder.empty() && !argument.starts_with("-")) {
            folder = argument;
        } else {
            folder.clear();
            break;
        }
    }
    if (folder.empty()) {
        std::fprintf(stderr, "usage: tabulane_bench_generate [--scale N] FOLDER\n");
        return 2;
    }
    std::filesystem::create_directories(folder);
    GenerateAll(folder, scale);
    return 0;
}

}  // namespace
}  // namespace tabulane

int main(int argc, char** argv) {
    try {
        return tabulane::Run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tabulane_bench_generate: %s\n", error.what());
        return 1;
    }
}
