#include "Options.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cerrno>
#include <cstdlib>
#include <type_traits>

namespace tidemar::headsim {
namespace {

bool ParseWhole(const std::string& text, long long low, long long high, long long& value) {
    if (text.empty() || text[0] == '+' || text[0] == ' ') return false;
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0') return false;
    if (parsed < low || parsed > high) return false;
    value = parsed;
    return true;
}

bool ParseSeed(const std::string& text, uint64_t& value) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') return false;
    value = parsed;
    return true;
}

}  // namespace

bool IsLoopbackAddress(const std::string& text) {
    in_addr address{};
    if (inet_pton(AF_INET, text.c_str(), &address) != 1) return false;
    return (ntohl(address.s_addr) >> 24) == 127;
}

ParsedOptions ParseOptions(const std::vector<std::string>& args) {
    ParsedOptions result;
    Options& o = result.options;

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        if (const auto equals = name.find('='); name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            hasValue = true;
        }
        const auto flag = [&](bool& target) {
            if (hasValue) {
                result.error = name + " takes no value";
                return false;
            }
            target = true;
            return true;
        };
        const auto takeValue = [&]() {
            if (hasValue) return true;
            if (i + 1 >= args.size()) {
                result.error = name + " needs a value";
                return false;
            }
            value = args[++i];
            return true;
        };
        const auto number = [&](long long low, long long high, auto& target) {
            if (!takeValue()) return false;
            long long parsed = 0;
            if (!ParseWhole(value, low, high, parsed)) {
                result.error = name + " needs a whole number from " + std::to_string(low) + " to " +
                               std::to_string(high) + " (got \"" + value + "\")";
                return false;
            }
            target = static_cast<std::remove_reference_t<decltype(target)>>(parsed);
            return true;
        };
        constexpr long long Many = 2000000000;

        bool ok = true;
        if (name == "--help" || name == "-h") {
            ok = flag(o.help);
        } else if (name == "--address") {
            ok = takeValue();
            o.address = value;
        } else if (name == "--port") {
            ok = number(0, 65535, o.port);
        } else if (name == "--head-id") {
            ok = number(FirstHeadId, LastHeadId, o.headId);
        } else if (name == "--serial") {
            ok = number(0, MaxSerialNumber, o.serialNumber);
        } else if (name == "--head-scan") {
            ok = flag(o.headScan);
        } else if (name == "--strict-id") {
            ok = flag(o.strictId);
        } else if (name == "--lenient") {
            ok = flag(o.lenient);
        } else if (name == "--realtime") {
            ok = flag(o.realtime);
        } else if (name == "--once") {
            ok = flag(o.once);
        } else if (name == "--seed") {
            ok = takeValue();
            if (ok && !ParseSeed(value, o.seed)) {
                result.error = "--seed needs a whole number from 0 to 18446744073709551615 (got \"" + value + "\")";
                ok = false;
            }
            o.seedGiven = ok;
        } else if (name == "--log") {
            ok = takeValue();
            if (ok && value.empty()) {
                result.error = "--log needs a file name";
                ok = false;
            }
            o.logPath = value;
        } else if (name == "--pings") {
            ok = number(1, Many, o.pings);
        } else if (name == "--refuse") {
            ok = flag(o.faults.refuse);
        } else if (name == "--close-at-once") {
            ok = flag(o.faults.closeAtOnce);
        } else if (name == "--close-after") {
            ok = number(1, Many, o.faults.closeAfter);
        } else if (name == "--silent-after") {
            ok = number(1, Many, o.faults.silentAfter);
        } else if (name == "--garbage-every") {
            ok = number(1, Many, o.faults.garbageEvery);
        } else if (name == "--short-every") {
            ok = number(1, Many, o.faults.shortEvery);
        } else if (name == "--bad-end-every") {
            ok = number(1, Many, o.faults.badEndEvery);
        } else {
            result.error = "unknown option " + name + " (see --help)";
            ok = false;
        }
        if (!ok) return result;
    }

    if (!o.help) {
        in_addr address{};
        if (inet_pton(AF_INET, o.address.c_str(), &address) != 1) {
            result.error = "--address needs a dotted IPv4 address such as 127.0.0.1 (got \"" + o.address + "\")";
            return result;
        }
        if (!IsLoopbackAddress(o.address)) {
            result.error = "refusing to listen on " + o.address + ": only loopback addresses (127.0.0.0/8) are allowed";
            return result;
        }
    }
    result.ok = true;
    return result;
}

std::string HelpText() {
    return R"(Usage: tidemar-headsim [options]

A simulated digital scanning sonar head for the Tidemar program. It listens on
TCP port 4040 of a loopback address, serves one client at a time (the next one
after a disconnect) and answers each 27-byte command block with one reply.

Head:
  --address A        loopback address to listen on (default 127.0.0.1); any
                     address outside 127.0.0.0/8 is refused (exit status 2)
  --port P           TCP port (default 4040); 0 picks a free port, which the
                     listening line shows
  --head-id N        the head's ID, 16..31 (default 17)
  --serial N         the head's serial number, 0..9999 (default 1234)
  --head-scan        answer every block with head information ('T', 77 bytes)
  --strict-id        stay silent to blocks addressed to another head ID
  --realtime         pace replies like a real head: two-way travel time of the
                     range at 1500 m/s plus the step time; without it the head
                     answers as fast as it can
  --seed N           seed of the echo noise and of garbage replies, so a run
                     can be repeated exactly (default: from the clock)
  --log FILE         write every received block to FILE, one line each: 27
                     hexadecimal bytes in upper case, single spaces, flushed
                     per line; bytes that are not a block are written too, in
                     lines of up to 27 bytes, so the file holds every byte
                     received; a line starting with "# " follows each
                     block the head refused (see Checks)

Checks:
  A block is framed 0xFE 'D' ... 0xFD; anything else gets no reply and the
  head resynchronises on the next 0xFE. Every framed block is then checked
  byte by byte against the command-block layout: head ID 16..31, range
  1..200, gain 0..40, absorption 1..255, train code 0..119, sector code
  0..120, step code 0, 1, 2, 3, 4 or 8, pulse length 1..100, profile minimum
  range 0..250, trigger 0..3, 500 points (byte 19 = 0x32) of 8 bits, profile
  and calibrate bytes 0 or 1, switch delay 0..250, frequency code 21..185,
  only the reverse and hold bits in byte 5, byte 9 = 1 and the reserved
  bytes 0. Head-ID change and programming blocks pass as the layout allows
  them (byte 16 = 0x90..0x9F with byte 10 possibly 0; byte 10 = 0x80 with
  bytes 18 and 21 as serial number and depth rating). A malformed block gets
  no reply, as from a real head, and is not counted as a ping; a line on
  stderr, and one starting with "# " after the block in the --log file,
  names every wrong byte with its index, name and value. Losing the frame
  is reported once, until the next good block.
  --lenient          answer every framed block without checking it, for
                     fault drills that send odd blocks on purpose

Replies:
  A framed block (a checked one unless --lenient) gets
    'T'  head information (EPROM version and date, sensor and transducer type,
         serial number, depth rating, head ID, shot count) with --head-scan or
         after SIGUSR1. The command block has no field that asks for it, so
         the head must be put in this mode to serve the program's "Scan For
         Connected Heads" window. The head does not move or ping for a 'T'.
    'P'  the profile range only, when byte 22 is 1 (13 bytes);
    'G'  echo samples, 500 of 8 bits (513 bytes); with --lenient, bytes 19
         (points / 10) and 20 (4, 8 or 16 bits) are honoured.
  The head answers blocks addressed to any ID and reports its own ID in
  reply byte 3 (unless --strict-id). It steps through the sector of the train,
  sector and step codes, reverses at the edges, turns on for a full circle,
  and honours the reverse and hold bits; echoes come from a harbour scene and
  follow range, gain, absorption, frequency and pulse length. The profile
  range is the first echo of a wall or object that reaches 64 of 255 counts,
  at or beyond the block's profile minimum range.

Programming:
  A block with bit 7 of byte 16 set gives the head the ID in the low bits
  (16..31); with --head-scan in effect, a block with byte 10 = 0x80 sets the
  serial number (bytes 15 and 18, 7 bits each) and depth rating (byte 21).
  Outside head-scan mode 0x80 in byte 10 is an ordinary absorption value.

Faults (counted per connection, combinable):
  --refuse           refuse every connection at once (the port is held but
                     never listened on)
  --close-at-once    accept every connection and close it at once, before
                     anything is read; each one is counted on stderr
                     ("tidemar-headsim: connection N closed at once")
  --close-after N    close the connection after the Nth ping
  --silent-after N   stop answering after N pings, keeping the connection
  --garbage-every N  every Nth reply is random bytes of the same length
  --short-every N    every Nth reply is cut to its first half
  --bad-end-every N  every Nth reply ends in 0xFB instead of 0xFC
  When reply faults meet, garbage wins over short, short over a bad end.

Running:
  --pings N          exit after answering N pings in all
  --once             exit when the first client that sent anything disconnects
  --help             show this text

Prints "tidemar-headsim: listening on ADDRESS:PORT" to stderr once ready.
SIGINT and SIGTERM end it cleanly; SIGUSR1 switches head-scan mode on and off.
Exit status: 0 done, 1 the port or log file could not be opened, 2 bad
command line or a non-loopback address.
)";
}

}  // namespace tidemar::headsim
