// libFuzzer target: QRZ answers come from the network, so their reader must
// cope with anything (not XML, cut short, huge, odd encodings) without a
// crash or a hang.
#include "qrz/qrzxml.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const Qrz::Document document = Qrz::readDocument(body);
    (void)Qrz::readResult(document);
    // The display helpers see the same texts.
    for (const Qrz::Element& element : document.elements) {
        Qrz::camelCase(element.text);
        Qrz::subscriptionExpiry(element.text);
        Qrz::licenseClass(element.text);
    }
    return 0;
}
