#!/usr/bin/perl
# Reads an X window dump (xwd) of a TrueColor or DirectColor screen.
#   xwdpixels.pl FILE x,y ...        the colour at each point, as RRGGBB
#   xwdpixels.pl FILE --box RRGGBB [STEP]
#                                    bounding box of the pixels of that
#                                    colour among every STEP-th column and
#                                    row: "x0 y0 x1 y1 count" (x1, y1
#                                    exclusive), or "none"
#   xwdpixels.pl FILE --stats x0,y0 x1,y1 [STEP]
#                                    over every STEP-th column and row of the
#                                    rectangle (x1, y1 exclusive): "mean
#                                    black count", the mean brightness (0 to
#                                    255) and how many pixels are black (no
#                                    channel above 2) of how many read
#   xwdpixels.pl FILE --mask x,y WIDTH HEIGHT
#                                    the rectangle, one line per row, '#' for
#                                    a dark pixel (brightness below 128)
#   xwdpixels.pl FILE --size         "width height"
#   xwdpixels.pl FILE --png OUT      writes the whole screen as a PNG file
# The pixel layout varies between servers and runs, so it is taken from the
# header: bits per pixel, bytes per line, byte order and the colour masks.
use strict;
use warnings;

my ($file, @args) = @ARGV;
die "usage: xwdpixels.pl FILE (x,y ... | --box RRGGBB | --size | --png OUT)\n" unless defined $file && @args;
open(my $in, '<:raw', $file) or die "cannot read $file: $!\n";
local $/;
my $data = <$in>;
close $in;

my @h = unpack('N25', $data);
my ($header_size, $version, $format, $depth, $width, $height) = @h[0 .. 5];
my ($byte_order, $bpp, $bpl) = @h[7, 11, 12];
my ($red_mask, $green_mask, $blue_mask, $ncolors) = @h[14, 15, 16, 19];
die "not an xwd file\n" unless $version == 7;
die "unsupported pixel size $bpp\n" unless $bpp == 32 || $bpp == 24 || $bpp == 16;
my $offset = $header_size + 12 * $ncolors;
my $bytes = $bpp / 8;

sub shift_of { my $m = shift; my $s = 0; return 0 unless $m; $s++ until ($m >> $s) & 1; return $s; }
sub channel {
    my ($pixel, $mask) = @_;
    my $s = shift_of($mask);
    my $v = ($pixel & $mask) >> $s;
    my $max = $mask >> $s;
    return $max ? int($v * 255 / $max + 0.5) : 0;
}
sub pixel_at {
    my ($x, $y) = @_;
    my $at = $offset + $y * $bpl + $x * $bytes;
    my @b = unpack('C' . $bytes, substr($data, $at, $bytes));
    @b = reverse @b if $byte_order == 0;    # LSBFirst
    my $p = 0;
    $p = ($p << 8) | $_ for @b;
    return sprintf('%02X%02X%02X', channel($p, $red_mask), channel($p, $green_mask), channel($p, $blue_mask));
}

# The raw pixel of an RRGGBB colour, for 8-bit channels.
sub raw_of {
    my ($r, $g, $b) = map { hex } unpack('A2A2A2', shift);
    my $scale = sub { my ($v, $mask) = @_; my $s = shift_of($mask); my $max = $mask >> $s; return (int($v * $max / 255 + 0.5) << $s) & $mask; };
    return $scale->($r, $red_mask) | $scale->($g, $green_mask) | $scale->($b, $blue_mask);
}

# A PNG of the screen: 8-bit RGB rows, each after filter byte 0.
sub write_png {
    my $out = shift;
    require Compress::Zlib;
    my $raw = '';
    for my $y (0 .. $height - 1) {
        $raw .= "\0" . join('', map { pack('H6', pixel_at($_, $y)) } 0 .. $width - 1);
    }
    my $chunk = sub {
        my ($type, $body) = @_;
        return pack('N', length $body) . $type . $body . pack('N', Compress::Zlib::crc32($type . $body));
    };
    open(my $png, '>:raw', $out) or die "cannot write $out: $!\n";
    print $png "\x89PNG\r\n\x1a\n", $chunk->('IHDR', pack('NNCCCCC', $width, $height, 8, 2, 0, 0, 0)),
      $chunk->('IDAT', Compress::Zlib::compress($raw)), $chunk->('IEND', '');
    close $png or die "cannot write $out: $!\n";
}

if ($args[0] eq '--size') {
    print "$width $height\n";
} elsif ($args[0] eq '--stats') {
    my ($x0, $y0) = split /,/, $args[1];
    my ($x1, $y1) = split /,/, $args[2];
    my $step = $args[3] // 1;
    die "rectangle $args[1] $args[2] lies outside ${width}x$height\n"
      if $x0 < 0 || $y0 < 0 || $x1 > $width || $y1 > $height || $x0 >= $x1 || $y0 >= $y1;
    my ($sum, $black, $n) = (0, 0, 0);
    for (my $y = $y0; $y < $y1; $y += $step) {
        for (my $x = $x0; $x < $x1; $x += $step) {
            my ($r, $g, $b) = map { hex } unpack('A2A2A2', pixel_at($x, $y));
            $sum += ($r + $g + $b) / 3;
            $black++ if $r <= 2 && $g <= 2 && $b <= 2;
            $n++;
        }
    }
    printf("%.1f %d %d\n", $sum / $n, $black, $n);
} elsif ($args[0] eq '--mask') {
    my ($x0, $y0) = split /,/, $args[1];
    my ($w, $h) = @args[2, 3];
    die "rectangle $args[1] ${w}x$h lies outside ${width}x$height\n"
      if $x0 < 0 || $y0 < 0 || $x0 + $w > $width || $y0 + $h > $height;
    for my $y ($y0 .. $y0 + $h - 1) {
        print join('', map {
            my ($r, $g, $b) = map { hex } unpack('A2A2A2', pixel_at($_, $y));
            ($r + $g + $b) / 3 < 128 ? '#' : '.'
        } $x0 .. $x0 + $w - 1), "\n";
    }
} elsif ($args[0] eq '--png') {
    die "usage: xwdpixels.pl FILE --png OUT\n" unless defined $args[1];
    write_png($args[1]);
} elsif ($args[0] eq '--box') {
    my $want = uc $args[1];
    my $step = $args[2] // 1;
    my ($x0, $y0, $x1, $y1, $n) = ($width, $height, -1, -1, 0);
    my $row_pixels = $bytes == 4 ? ($byte_order == 0 ? 'V' : 'N') . $width : undef;
    my $raw = defined $row_pixels ? raw_of($want) : undef;
    my $rgb_mask = $red_mask | $green_mask | $blue_mask;
    for (my $y = 0; $y < $height; $y += $step) {
        my @row = defined $row_pixels ? unpack($row_pixels, substr($data, $offset + $y * $bpl, 4 * $width)) : ();
        for (my $x = 0; $x < $width; $x += $step) {
            my $hit = defined $row_pixels ? ($row[$x] & $rgb_mask) == $raw : pixel_at($x, $y) eq $want;
            next unless $hit;
            $n++;
            $x0 = $x if $x < $x0;
            $x1 = $x if $x > $x1;
            $y0 = $y if $y < $y0;
            $y1 = $y if $y > $y1;
        }
    }
    print $n ? sprintf("%d %d %d %d %d\n", $x0, $y0, $x1 + 1, $y1 + 1, $n) : "none\n";
} else {
    for my $point (@args) {
        my ($x, $y) = split /,/, $point;
        die "point $point lies outside ${width}x$height\n" if $x < 0 || $y < 0 || $x >= $width || $y >= $height;
        print pixel_at($x, $y), "\n";
    }
}
