// "top10.dat": loaded by the host, every place formatted as the top-ten screen shows it, and a
// new result inserted into every list.
#include "Big5.h"
#include "DlgTopList.h"
#include "FuzzUtil.h"
#include "TavexDlg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::EnterOwnDir();
  fuzz::WriteFile("top10.dat", data, size);
  static CTavexDlg host(nullptr);
  host.LoadTopTen();
  for (int rules = 0; rules < 2; ++rules)
    for (int kind = 0; kind < 3; ++kind) {
      PlayerRecord* list = host.chessData.topTen[rules][kind];
      for (int i = 0; i < TOPTEN_PLACES; ++i) {
        CString line;
        if (FormatTopTenLine(rules, kind, list[i], &line)) Big5ToUtf8(line.str());
      }
      PlayerRecord entry{};
      entry.score = size ? data[0] : 0;
      host.chessData.InsertTopTen(&entry, list);
    }
  return 0;
}
