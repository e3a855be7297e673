#pragma once
#include <string>

namespace korvath::test {

// Script lines that place the eight Raiders of Korvath Tamberhold on the
// start stars west of the walls, in the deployment list's order.
inline const std::string kKorvathSquadOnStars = "row 0\nsquare 13 24\nrow 1\nsquare 13 27\n"
                                                "row 2\nsquare 11 25\nrow 3\nsquare 11 28\n"
                                                "row 4\nsquare 9 25\nrow 5\nsquare 9 28\n"
                                                "row 6\nsquare 7 24\nrow 7\nsquare 7 27\n";

} // namespace korvath::test
