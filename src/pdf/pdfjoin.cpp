// The module that joins PDF files painted apart, runs of one document's pages painted on threads
// of their own, into one file, with qpdf (Debian libqpdf). The pages' streams are copied as they
// are, neither decoded nor compressed again, so joining costs a fraction of painting. The first
// file gives the document its catalogue and its information (title, creator).

#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <QIODevice>
#include <QString>
#include <QStringList>

#include <exception>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

// qpdf's output into a Qt device: the sheet's replacement file, written whole or not at all.
class DevicePipeline final : public Pipeline {
  public:
    explicit DevicePipeline(QIODevice& device) : Pipeline("velaro-pdf", nullptr), device_(device) {}
    void write(unsigned char const* data, size_t size) override {
        if (device_.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
            throw std::runtime_error("write");
    }
    void finish() override {}

  private:
    QIODevice& device_;
};

} // namespace

extern "C" Q_DECL_EXPORT void velaro_join_pdf(const QStringList* parts, QIODevice* out,
                                              QString* error) {
    try {
        QPDF joined;
        joined.setSuppressWarnings(true);
        joined.processFile(parts->front().toLocal8Bit().constData());
        QPDFPageDocumentHelper pages(joined);
        // The other files are read while the joined one is written: they live until then.
        std::vector<std::unique_ptr<QPDF>> others;
        for (qsizetype part = 1; part < parts->size(); ++part) {
            others.push_back(std::make_unique<QPDF>());
            others.back()->setSuppressWarnings(true);
            others.back()->processFile(parts->at(part).toLocal8Bit().constData());
            for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(*others.back()).getAllPages())
                pages.addPage(page, false);
        }
        DevicePipeline output(*out);
        QPDFWriter writer(joined);
        writer.setOutputPipeline(&output);
        writer.setCompressStreams(false);
        writer.setDecodeLevel(qpdf_dl_none);
        writer.write();
    } catch (const std::exception& e) {
        // The device says why it could not be written; qpdf's own messages are in English.
        *error = QString::fromLocal8Bit(e.what());
    }
}
