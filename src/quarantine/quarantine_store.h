#ifndef VELMORA_QUARANTINE_QUARANTINE_STORE_H_
#define VELMORA_QUARANTINE_QUARANTINE_STORE_H_

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "quarantine/quarantine_record.h"

namespace velmora::quarantine {

// The result of storing a file: its id, or why it stayed where it was.
struct StoredItem {
  std::string id;
  std::string error;
};

// The result of putting an item back.
struct RestoredItem {
  // Whether the file is back at its original path.
  bool restored = false;
  // Where the item belongs; empty when its record could not be read.
  platform::NativePath original_path;
  // Why not, or what went wrong after it was; empty when all went well.
  std::string message;
};

// What List found.
struct Listing {
  std::vector<QuarantineRecord> records;  // by id, oldest first
  // Why the store could not be read, and the names of records that could not be read.
  std::string error;
  std::vector<std::string> unreadable;
};

// The user's quarantine: one folder of the store's own (see StoreFolder) holding, per item,
// the file's bytes under "<id>.item" and its record under "<id>.record". Ids are the time of
// storing, "YYYYMMDD-HHMMSS", with "-2", "-3" ... when taken; no name in the folder comes from
// the file. Files go in by copy, checked, then removal of the original, so a move across
// volumes is the same as one within a volume and a failure at any step leaves the original in
// place and the store as it was.
class QuarantineStore {
 public:
  // `now` tells the current time in ticks since 1601 UTC.
  QuarantineStore(platform::Files& files, platform::NativePath folder,
                  std::function<std::uint64_t()> now)
      : files_(files), folder_(std::move(folder)), now_(std::move(now)) {}

  const platform::NativePath& folder() const { return folder_; }

  // Moves the file at `original_path` into the store.
  StoredItem Add(const platform::NativePath& original_path);
  Listing List();
  // Puts the item back where it was, with its bytes (checked against the record's digest),
  // its attributes and its last-write time, and takes it out of the store. Refuses when
  // anything is at the original path now; a failure leaves the item in the store.
  RestoredItem Restore(const std::string& id);

  // Whether `id` can name an item: letters, digits and "-" only, as the store makes them.
  static bool IsWellFormedId(const std::string& id);

 private:
  platform::NativePath PathOf(const std::string& id, const char16_t* extension) const;
  std::string MakeFolders();
  bool ReadRecord(const std::string& id, QuarantineRecord& record, std::string& error);

  platform::Files& files_;
  platform::NativePath folder_;
  std::function<std::uint64_t()> now_;
};

// Where the store lives under the user's local application-data folder.
platform::NativePath StoreFolder(const platform::NativePath& local_application_data);

}  // namespace velmora::quarantine

#endif  // VELMORA_QUARANTINE_QUARANTINE_STORE_H_
