// A depth sorter record block, with what it holds, released on unwinding unless kept.
#pragma once

#include "VLDepthBuffer.h"

namespace vlviews {

class RecordGuard {
 public:
  RecordGuard(VLDepthBuffer* sorter, DepthPolygonHandle record) : sorter_(sorter), record_(record) {}
  ~RecordGuard() {
    if (!record_) return;
    sorter_->FreeRecordParts(record_);
    DisposeDepthPolygon(record_);
  }
  RecordGuard(const RecordGuard&) = delete;
  RecordGuard& operator=(const RecordGuard&) = delete;
  DepthPolygonHandle get() const { return record_; }
  DepthPolygonHandle Keep() {
    DepthPolygonHandle kept = record_;
    record_ = nullptr;
    return kept;
  }

 private:
  VLDepthBuffer* sorter_;
  DepthPolygonHandle record_;
};

}  // namespace vlviews
