// The keys and orders a thumbnail list sorts by. The values are the ones stored in the settings
// ("DefaultSortBy", "DefaultSortOrder" and the library bar's own), so they never change.
#pragma once

enum PicListSortKey {
    kSortByName = 0,
    kSortByType = 1,
    kSortByDate = 2,
    kSortBySize = 3,
};

enum PicListSortOrder {
    kSortAscending = 0,
    kSortDescending = 1,
};
