#include <cstdio>

int main() {
  std::fputs("tsubakuro-convert: 変換はまだ組み込まれていません。\n", stderr);
  return 2;
}
