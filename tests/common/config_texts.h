// QvanConfig.ini as the program writes it, spelled as text for the tests of every layer: the
// value columns of the six lines (the defaults unless a test gives others) and their fixed
// comments. Each test turns it into code page 932 bytes by a conversion of its own layer.
#pragma once

#include <string>

namespace qv::test {

struct WrittenConfig {
    std::wstring region1 = L"    1 ,    1 ,   1 ,   1";
    std::wstring region2 = L"  463 ,  570 ,  90 ,   9";
    std::wstring autoStart = L"  False";
    std::wstring interval = L"     20";
    std::wstring beep = L"  False";
    std::wstring delay = L"     15";
};

inline std::wstring WrittenConfigText(const WrittenConfig& c = {}) {
    return c.region1 + L" , キャプチャ領域1、開始座標とサイズ\r\n" + c.region2 +
           L" , キャプチャ領域2、開始座標とサイズ\r\n" + c.autoStart + L" , 自動開始フラグ\r\n" +
           c.interval + L" , キャプチャインターバル(分)\r\n" + c.beep +
           L" , キャプチャ時に音を鳴らす\r\n" + c.delay +
           L" , 起動時にメイプルストーリ起動確認遅延時間(秒)\r\n\r\n";
}

} // namespace qv::test
