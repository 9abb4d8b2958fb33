#include "profile_sequence.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "save/profile.h"

namespace brimvale::differential {
namespace {

enum class Op { Int, String, Write };

struct Step {
  Op op;
  const char* section;
  const char* key;
  const char* value;  // the default of a read, the value of a write
  size_t bufferSize = 255;
  int32_t intDefault = 0;
};

struct Case {
  const char* name;
  const char* file;  // null: no file at the start
  std::vector<Step> steps;
};

Step Int(const char* section, const char* key, int32_t fallback = -7) {
  return {Op::Int, section, key, nullptr, 0, fallback};
}
Step Str(const char* section, const char* key, const char* fallback = "dflt", size_t size = 255) {
  return {Op::String, section, key, fallback, size, 0};
}
Step Write(const char* section, const char* key, const char* value) {
  return {Op::Write, section, key, value, 0, 0};
}

const std::string kLong(300, 'x');

std::vector<Case> Cases() {
  return {
      {"no file",
       nullptr,
       {Int("Rank", "XP"), Str("Rank", "XP"), Write("Rank", "XP", "150"),
        Write("Story", "Progress", "1"), Int("rank", "xp")}},
      {"empty file", "", {Int("Rank", "XP"), Write("Rank", "XP", "150")}},
      {"mixed case",
       "[Rank]\r\nXP=150\r\nSkill Points=2\r\n",
       {Int("rank", "xp"), Str("RANK", "Xp"), Int("RaNk", "SKILL POINTS"),
        Write("rAnK", "xP", "200"), Write("RANK", "Health Lvl 1", "True")}},
      {"missing keys and sections",
       "[Rank]\r\nXP=150\r\n",
       {Int("Rank", "Rank"), Int("Story", "Progress", 0), Str("Rank", "Rank", "fallback "),
        Str("Story", "Progress", ""), Str("Rank", "Rank", nullptr),
        Write("Story", "Progress", "1")}},
      {"numbers",
       "[N]\r\nA=-42\r\nB=abc\r\nC=12abc\r\nD= +7\r\nE=-\r\nF=\r\nG=0x1F\r\nH=4294967295\r\n"
       "I=99999999999\r\nJ=  -0012 \r\nK=\"5\"\r\nL=--3\r\nM=+-3\r\nO= 1 2\r\nP=0b101\r\n"
       "R=0o17\r\nS=0X1F\r\nT=-0x10\r\nU=0xfFg\r\nV=0b2\r\nW=0x\r\n",
       {Int("N", "A"), Int("N", "B"), Int("N", "C"), Int("N", "D"), Int("N", "E"), Int("N", "F"),
        Int("N", "G"), Int("N", "H"), Int("N", "I"), Int("N", "J"), Int("N", "K"), Int("N", "L"),
        Int("N", "M"), Int("N", "O"), Int("N", "P"), Int("N", "R"), Int("N", "S"), Int("N", "T"),
        Int("N", "U"), Int("N", "V"), Int("N", "W")}},
      {"long values and small buffers",
       nullptr,
       {Write("S", "Long", kLong.c_str()), Str("S", "Long"), Str("S", "Long", "d", 10),
        Str("S", "Long", "d", 2), Str("S", "Long", "d", 1), Str("S", "Missing", "defaultvalue", 5),
        Str("S", "Missing", "", 1), Int("S", "Long")}},
      {"quotes and blanks",
       "[Q]\r\nA=\"quoted\"\r\nB='single'\r\nC=\" spaced \"\r\nD=\"unbalanced\r\nE=  padded  \r\n"
       "  F  =  x  \r\nG=\t tabbed\t\r\nH=\"\"\r\nI=\"mixed'\r\nJ=\"a\"b\"\r\n K=k\r\n",
       {Str("Q", "A"), Str("Q", "B"), Str("Q", "C"), Str("Q", "D"), Str("Q", "E"), Str("Q", "F"),
        Str("Q", "G"), Str("Q", "H"), Str("Q", "I"), Str("Q", "J"), Str("Q", "K"),
        Str(" Q ", " A "), Str("Q", "\"A\""), Str("Q", "A", "x", 5), Write("Q", "E", "new"),
        Write("Q", "F", "y")}},
      {"foreign lines and comments",
       "; kept by hand\r\n# another comment\r\n[Rank]\r\n; XP=99\r\nnot a key line\r\nXP=5\r\n"
       "\r\n[Other]\r\nZ=1\r\n",
       {Int("Rank", "XP"), Int("Rank", "; XP"), Str("Rank", "not a key line"),
        Write("Rank", "Rank", "2"), Write("Rank", "XP", "6"), Write("Other", "Y", "2")}},
      {"duplicate sections",
       "[Rank]\r\nXP=1\r\n[Other]\r\nA=1\r\n[rank]\r\nXP=2\r\nSP=3\r\n",
       {Int("Rank", "XP"), Int("Rank", "SP"), Write("Rank", "SP", "4"), Write("RANK", "XP", "5"),
        Int("Rank", "SP")}},
      {"keys before any section",
       "XP=5\r\n[Rank]\r\nRank=1\r\n",
       {Int("Rank", "XP"), Int("", "XP"), Write("Rank", "XP", "6")}},
      {"LF-only file",
       "[Rank]\nXP=1\n[Story]\nProgress=0\n",
       {Int("Rank", "XP"), Int("Story", "Progress", 9), Write("Rank", "XP", "2"),
        Write("Rank", "Rank", "3"), Write("Character", "Gender", "1")}},
      {"CR-only file",
       "[Rank]\rXP=1\r[Story]\rProgress=0\r",
       {Int("Rank", "XP"), Int("Story", "Progress", 9), Str("Rank", "XP")}},
      {"a lone CR among LF line breaks",
       "[Rank]\rXP=5\n",
       {Int("Rank", "XP"), Str("Rank", "XP"), Str("", "[Rank]"), Write("Rank", "Rank", "2")}},
      {"a lone CR inside a CRLF line",
       "[N]\r\nA=x\ry\r\nB=1\r\n",
       {Str("N", "A"), Str("N", "y"), Int("N", "B"), Write("N", "A", "z"), Str("N", "B")}},
      {"a lone CR before any section", "A=x\ry\r\n", {Str("", "A"), Str("", "y"), Str("", "A=x")}},
      {"lone CRs after the last LF",
       "[Rank]\nXP=1\n[Story]\rProgress=2\rKey=3",
       {Int("Rank", "XP"), Int("Story", "Progress", 9), Int("Story", "Key", 9)}},
      {"no final line break",
       "[Rank]\r\nXP=1",
       {Int("Rank", "XP"), Write("Rank", "XP", "22"), Write("Rank", "Rank", "3"),
        Write("Story", "Progress", "1")}},
      {"key line without a line break after a section",
       "[Rank]",
       {Int("Rank", "XP"), Write("Rank", "XP", "1")}},
      {"empty values",
       "[E]\r\nA=\r\nB=1\r\n",
       {Int("E", "A", 4), Str("E", "A"), Write("E", "B", ""), Str("E", "B"), Int("E", "B", 4)}},
  };
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (unsigned char ch : text) {
    if (ch == '\r') {
      out += "\\r";
    } else if (ch == '\n') {
      out += "\\n";
    } else if (ch == '\t') {
      out += "\\t";
    } else if (ch == '\\') {
      out += "\\\\";
    } else if (ch < 0x20 || ch >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", ch);
      out += hex;
    } else {
      out += static_cast<char>(ch);
    }
  }
  return out;
}

std::string Shown(const char* text) {
  if (!text) return "null";
  std::string out(1, '"');
  out.append(Escaped(text)).push_back('"');
  return out;
}

}  // namespace

void RunProfileSequence(const char* separator, std::ostream& out) {
  int number = 0;
  for (const Case& c : Cases()) {
    const std::string fileName = "case" + std::to_string(++number) + ".ini";
    const std::string path = std::string(".") + separator + fileName;
    std::remove(fileName.c_str());
    if (c.file) std::ofstream(fileName, std::ios::binary) << c.file;
    out << "case " << c.name << "\n";
    for (const Step& step : c.steps) {
      const std::string where = Shown(step.section) + " " + Shown(step.key);
      switch (step.op) {
        case Op::Int:
          out << "int " << where << " default " << step.intDefault << " -> "
              << ProfileGetInt(step.section, step.key, step.intDefault, path.c_str()) << "\n";
          break;
        case Op::String: {
          std::string buffer(step.bufferSize + 1, '#');
          ProfileGetString(step.section, step.key, step.value, buffer.data(), step.bufferSize,
                           path.c_str());
          out << "string " << where << " default " << Shown(step.value) << " size "
              << step.bufferSize << " -> " << Shown(buffer.c_str()) << "\n";
          break;
        }
        case Op::Write:
          out << "write " << where << " " << Shown(step.value) << " -> "
              << (ProfileWriteString(step.section, step.key, step.value, path.c_str()) ? "ok"
                                                                                       : "failed")
              << "\n";
          break;
      }
    }
    std::ifstream in(fileName, std::ios::binary);
    if (in) {
      const std::string bytes((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
      out << "file -> " << Escaped(bytes) << "\n";
    } else {
      out << "file -> none\n";
    }
    in.close();
    std::remove(fileName.c_str());
  }
}

}  // namespace brimvale::differential
