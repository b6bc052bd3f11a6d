module.exports = {
  "0310": {
    "code": "0310",
    "name": "ＧＭＯあおぞらネット",
    "kana": "ジ－エムオ－アオゾラネツト",
    "hira": "じ－えむお－あおぞらねつと",
    "roma": "ji-emuo-aozoranetsuto",
    "branches": {
      "102": {
        "code": "102",
        "name": "法人第二営業部",
        "kana": "ホウジンダイニ",
        "hira": "ほうじんだいに",
        "roma": "houjindaini"
      },
      "101": {
        "code": "101",
        "name": "法人営業部",
        "kana": "ホウジン",
        "hira": "ほうじん",
        "roma": "houjin"
      }
    }
  },
  "0001": {
    "code": "0001",
    "name": "みずほ",
    "kana": "ミズホ",
    "hira": "みずほ",
    "roma": "mizuho",
    "branches": {
      "004": {
        "code": "004",
        "name": "丸の内中央",
        "kana": "マルノウチチユウオウ",
        "hira": "まるのうちちゆうおう",
        "roma": "marunouchichiyuuou"
      },
      "001": {
        "code": "001",
        "name": "東京営業部",
        "kana": "トウキヨウ",
        "hira": "とうきよう",
        "roma": "toukiyou"
      },
      "733": {
        "code": "733",
        "name": "イーハトーヴ",
        "kana": "イ－ハト－ヴ",
        "hira": "い－はと－ヴ",
        "roma": "i-hato-vu"
      },
      "800": {
        "code": "800",
        "name": "ｐａｙ　パーク",
        "kana": "ｐａｙ　パ－ク（ダイ１）．",
        "hira": "ｐａｙ　ぱ－く（だい１）．",
        "roma": "pay pa-ku"
      }
    }
  },
  "9900": {
    "code": "9900",
    "name": "ゆうちょ",
    "kana": "ユウチヨ",
    "hira": "ゆうちよ",
    "roma": "yuuchiyo",
    "branches": {}
  }
};
