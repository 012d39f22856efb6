# Writes N random coordinate pairs within the bars' ranges (fixed seed): D:M:S lines to the file
# named by dms, the same pairs in decimal degrees to the file named by dec.
# Usage: awk -v n=1000000 -v dms=FILE -v dec=FILE -f make_pairs.awk
function coordinate(max_degrees, i) {
    d[i] = int(rand() * (2 * max_degrees + 1)) - max_degrees
    m[i] = int(rand() * 60)
    s[i] = int(rand() * 60)
    v[i] = (d[i] < 0 ? -1 : 1) * ((d[i] < 0 ? -d[i] : d[i]) + m[i] / 60 + s[i] / 3600)
}
BEGIN {
    srand(20240607)
    for (line = 0; line < n; ++line) {
        coordinate(89, 1); coordinate(179, 2); coordinate(89, 3); coordinate(179, 4)
        printf "%d:%d:%d %d:%d:%d %d:%d:%d %d:%d:%d\n", d[1], m[1], s[1], d[2], m[2], s[2],
            d[3], m[3], s[3], d[4], m[4], s[4] > dms
        printf "%.10f %.10f %.10f %.10f\n", v[1], v[2], v[3], v[4] > dec
    }
}
