#include "FileWriter.h"

#include <memory>
#include <vector>

#include "OutputFile.h"

namespace palettor {

bool FileWriter::WriteBytes(const QByteArray& bytes, const QString& target) {
  const Output output{target, bytes};
  return WriteBytes(std::span(&output, 1));
}

bool FileWriter::WriteBytes(std::span<const Output> outputs) {
  std::vector<std::unique_ptr<OutputFile>> files;
  for (const Output& output : outputs) files.push_back(std::make_unique<OutputFile>(output.target));
  // The files that replace their targets are written first, beside them; then the targets that
  // take the bytes as they come. Until those are finished, a failure leaves every replaced
  // target as it was (the files abandoned with `files`).
  std::vector<std::size_t> order;
  for (const bool inPlace : {false, true}) {
    for (std::size_t i = 0; i < files.size(); ++i) {
      if (files[i]->WritesInPlace() == inPlace) order.push_back(i);
    }
  }
  for (const std::size_t i : order) {
    if (!files[i]->Open() || !files[i]->Write(outputs[i].bytes))
      return FailAt(outputs[i].target, files[i]->ErrorString());
  }
  for (auto i = order.rbegin(); i != order.rend(); ++i) {
    if (!files[*i]->Commit()) return FailAt(outputs[*i].target, files[*i]->ErrorString());
  }
  return Succeed();
}

bool FileWriter::Succeed() {
  errorString_.clear();
  failedTarget_.clear();
  return true;
}

bool FileWriter::Fail(QString reason) {
  errorString_ = std::move(reason);
  failedTarget_.clear();
  return false;
}

bool FileWriter::FailAt(const QString& target, QString reason) {
  Fail(std::move(reason));
  failedTarget_ = target;
  return false;
}

}  // namespace palettor
