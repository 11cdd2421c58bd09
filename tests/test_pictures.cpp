// The picture loader on good, truncated, garbage and empty data, and the picture area's
// unscaled, clipped drawing.

#include "core/jpegdecoder.h"
#include "core/picturearea.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <cstdio>
#include <jpeglib.h>

using namespace velaro;

namespace {

// A JPEG made here with libjpeg: left half red, right half blue.
QByteArray makeJpeg(int width, int height) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(width * 3);
    for (int x = 0; x < width; ++x) {
        const bool left = x < width / 2;
        row[x * 3] = left ? 220 : 20;
        row[x * 3 + 1] = 20;
        row[x * 3 + 2] = left ? 20 : 220;
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

std::optional<DecodedImage> decode(const QByteArray& bytes) {
    return decodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                      static_cast<std::size_t>(bytes.size()));
}

// The offset of the start-of-frame marker's height field.
qsizetype frameHeaderAt(const QByteArray& jpeg) {
    const qsizetype marker = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    return marker < 0 ? -1 : marker + 5;
}

} // namespace

class PicturesTest : public QObject {
    Q_OBJECT
  private slots:
    void decodesAGoodPicture() {
        const auto image = decode(makeJpeg(40, 16));
        QVERIFY(image);
        QCOMPARE(image->width, 40);
        QCOMPARE(image->height, 16);
        QCOMPARE(image->rgb.size(), std::size_t(40 * 16 * 3));
        QVERIFY(image->rgb[0] > 180 && image->rgb[2] < 70);                 // red on the left
        QVERIFY(image->rgb[(39) * 3 + 2] > 180 && image->rgb[39 * 3] < 70); // blue on the right
    }

    void refusesDamagedData_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = makeJpeg(64, 48);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("garbage") << QByteArray(500, '\x5a');
        QTest::newRow("start marker only") << QByteArray("\xFF\xD8", 2);
        for (int cut : {3, 20, 100, 300})
            QTest::addRow("truncated at %d", cut) << good.left(cut);
        QTest::addRow("truncated before the end") << good.left(good.size() - 40);
        QByteArray huge = good;
        const qsizetype at = frameHeaderAt(huge);
        huge[at] = '\xEA'; // height 60000
        huge[at + 1] = '\x60';
        huge[at + 2] = '\xEA'; // width 60000
        huge[at + 3] = '\x60';
        QTest::newRow("absurd dimensions") << huge;
        QByteArray zeroWide = good;
        zeroWide[frameHeaderAt(zeroWide) + 2] = 0;
        zeroWide[frameHeaderAt(zeroWide) + 3] = 0;
        QTest::newRow("zero width") << zeroWide;
    }
    void refusesDamagedData() {
        QFETCH(QByteArray, bytes);
        QVERIFY(!decode(bytes));
        QVERIFY(!imageFromJpeg(bytes));
    }

    void flippedBitsNeverCrash() {
        const QByteArray good = makeJpeg(32, 32);
        int decoded = 0;
        for (qsizetype i = 0; i < good.size(); i += 7) {
            QByteArray damaged = good;
            damaged[i] = static_cast<char>(damaged[i] ^ (1 << (i % 8)));
            if (const auto image = decode(damaged)) {
                QCOMPARE(image->rgb.size(),
                         std::size_t(image->width) * std::size_t(image->height) * 3);
                ++decoded;
            }
        }
        QVERIFY(decoded > 0); // damage in the entropy-coded data may still decode
    }

    void areaDrawsUnscaledFromTheTopLeftAndClips() {
        QWidget window;
        PictureArea area("Image1", QRect(10, 10, 30, 16), &window);
        area.setPicture(imageFromJpeg(makeJpeg(40, 16)));
        QVERIFY(area.picture());
        const QImage shown = area.grab().toImage();
        const int ratio = qRound(shown.devicePixelRatio());
        QCOMPARE(shown.size(), QSize(30, 16) * ratio);
        QVERIFY(qRed(shown.pixel(2 * ratio, 8 * ratio)) > 180);   // the red half starts at the left
        QVERIFY(qBlue(shown.pixel(25 * ratio, 8 * ratio)) > 180); // the blue one is cut off
    }

    void everyPictureDecodesToItsSize_data() {
        QTest::addColumn<QString>("module");
        QTest::addColumn<QSize>("size");
        const std::pair<const char*, QSize> pictures[] = {
            {"moika", {169, 201}},
            {"vanna", {160, 105}},
            {"smivbachok", {147, 225}},
            {"chugunradiator", {225, 225}},
            {"chugunradiatori", {252, 233}},
            {"leppotolok", {161, 137}},
            {"kessonpotolok", {449, 97}},
            {"rebristperekritiya", {157, 97}},
            {"vagonka", {157, 97}},
            {"brevno", {156, 97}},
            {"lepizdeliya", {153, 161}},
            {"prostreshetki", {161, 161}},
            {"sredniereshetki", {148, 161}},
            {"slozhniereshetki", {160, 84}},
            {"volnistlisti", {161, 161}},
            {"oknarazdvizh", {41, 113}},
            {"oknasparen", {160, 152}},
            {"oknapromish", {74, 160}},
            {"dveribalkon", {106, 160}},
            {"dverigluhie", {146, 160}},
            {"dveriosteklenie", {159, 160}},
            {"shkafniedveri", {114, 160}},
            {"arka", {146, 160}},
        };
        for (const auto& [module, size] : pictures)
            QTest::newRow(module) << QString(module) << size;
    }
    void everyPictureDecodesToItsSize() {
        QFETCH(QString, module);
        QFETCH(QSize, size);
        const auto picture = modulePicture(module);
        QVERIFY(picture);
        QCOMPARE(picture->size(), size);
        const auto sharp = modulePicture(module, 2); // for screens at twice the density
        QVERIFY(sharp);
        QCOMPARE(sharp->size(), size * 2);
    }

    // The rendering that suits the screen is drawn pixel for pixel, at the same size in points
    // and cut at the same edges. CTest runs this at scale 1 and again at QT_SCALE_FACTOR=2.
    void drawsTheRenderingForThePixelRatio() {
        QWidget window;
        window.resize(200, 150);
        PictureArea area("Image1", QRect(10, 10, 150, 120), &window); // moika is 169 × 201
        area.setPictureResource(":/pictures/moika.jpg");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const qreal ratio = area.devicePixelRatioF();
        if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
            QCOMPARE(ratio, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
        const int scale = ratio > 1 ? 2 : 1;
        const auto& shown = area.picture();
        QVERIFY(shown);
        QCOMPARE(shown->devicePixelRatio(), qreal(scale));
        QCOMPARE(shown->deviceIndependentSize(), QSizeF(169, 201));
        QImage rendering = *modulePicture("moika", scale);
        rendering.setDevicePixelRatio(scale);
        QCOMPARE(*shown, rendering);

        QImage grabbed = area.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(grabbed.size(), QSize(150, 120) * scale);
        QImage expected = shown->copy(0, 0, 150 * scale, 120 * scale);
        expected = expected.convertToFormat(QImage::Format_RGB32);
        grabbed.setDevicePixelRatio(1);
        expected.setDevicePixelRatio(1);
        QVERIFY(grabbed == expected);
    }

    // Every embedded picture, cut short at many lengths and with bits flipped: the decoder gives
    // an image or a failure, never a crash (the sanitizer build checks the reads).
    void damagedEmbeddedPictures() {
        const QStringList names = QDir(":/pictures").entryList({"*.jpg"});
        QVERIFY(names.size() >= 23);
        int truncatedDecoded = 0;
        for (const QString& name : names) {
            QFile file(":/pictures/" + name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray good = file.readAll();
            const qsizetype step = std::max<qsizetype>(1, good.size() / 97);
            for (qsizetype cut = 0; cut < good.size() - 2; cut += step)
                truncatedDecoded += decode(good.left(cut)).has_value();
            for (qsizetype i = 0; i < good.size(); i += step) {
                QByteArray damaged = good;
                damaged[i] = static_cast<char>(damaged[i] ^ (0x81 >> (i % 8)));
                if (const auto image = decode(damaged))
                    QCOMPARE(image->rgb.size(),
                             std::size_t(image->width) * std::size_t(image->height) * 3);
            }
        }
        QCOMPARE(truncatedDecoded, 0); // a picture cut short is never shown half grey
    }

    void missingOrBrokenPictureLeavesTheAreaEmpty() {
        QVERIFY(!modulePicture("no-such-module"));
        QWidget window;
        PictureArea area("Image1", QRect(0, 0, 20, 20), &window);
        area.setPicture(imageFromJpeg(QByteArray(100, '\0')));
        QVERIFY(!area.picture());
        area.grab(); // paints without a picture
    }
};

VELARO_TEST_MAIN(PicturesTest)
#include "test_pictures.moc"
