#!/usr/bin/env python3
"""Writes the sample style files in this folder: patterns the keyboard accepts and a few it
refuses, each for its own reason. Run it again after changing it; the files are checked in."""

import os
import struct

PPQN = 192
BAR_44 = 4 * PPQN
HERE = os.path.dirname(os.path.abspath(__file__))


def quantity(value):
    groups = [value & 0x7F]
    value >>= 7
    while value:
        groups.append((value & 0x7F) | 0x80)
        value >>= 7
    return bytes(reversed(groups))


def meta(kind, data):
    return bytes([0xFF, kind]) + quantity(len(data)) + data


def track(events):
    """events: (tick, bytes) pairs in any order; End of Track is added at end_tick if given."""
    body = b""
    now = 0
    for tick, data in sorted(events, key=lambda e: e[0]):
        body += quantity(tick - now) + data
        now = tick
    return b"MTrk" + struct.pack(">I", len(body)) + body


def song(tracks, fmt=1, division=PPQN):
    return b"MThd" + struct.pack(">IHHH", 6, fmt, len(tracks), division) + b"".join(tracks)


def end_of_track(tick):
    return (tick, meta(0x2F, b""))


def tempo_events(name, numerator, power, bpm, kind, with_tempo=True):
    events = [(0, meta(0x03, name.encode())),
              (0, meta(0x58, bytes([numerator, power, 24, 8])))]
    if with_tempo:
        events.append((0, meta(0x51, struct.pack(">I", round(60_000_000 / bpm))[1:])))
    if kind:
        events.append((0, meta(0x06, b"qx7m" + kind.encode())))
    return events


def setup(channel, program, volume=100, pan=64, reverb=40):
    return [(0, bytes([0xC0 | channel, program])),
            (0, bytes([0xB0 | channel, 7, volume])),
            (0, bytes([0xB0 | channel, 10, pan])),
            (0, bytes([0xB0 | channel, 91, reverb]))]


def notes(channel, hits, velocity=100):
    """hits: (tick, note, length) triples; note offs use running-status-friendly 0x8n."""
    events = []
    for tick, note, length in hits:
        events.append((tick, bytes([0x90 | channel, note, velocity])))
        events.append((tick + length, bytes([0x80 | channel, note, 64])))
    return events


def drum_bar(start, sixteenths=False):
    step = PPQN // 4 if sixteenths else PPQN // 2
    hits = [(start + t, 42, 24) for t in range(0, BAR_44, step)]        # closed hi-hat
    hits += [(start, 36, 48), (start + 2 * PPQN, 36, 48),                # kick on 1 and 3
             (start + PPQN, 38, 48), (start + 3 * PPQN, 38, 48)]         # snare on 2 and 4
    return hits


def pop_8beat():
    bars = 2
    end = bars * BAR_44
    drums = setup(9, 0) + notes(9, [h for b in range(bars) for h in drum_bar(b * BAR_44)])
    bass = setup(11, 33, pan=60) + notes(11, [(b * BAR_44 + t, 36, 180)
                                              for b in range(bars) for t in range(0, BAR_44, PPQN)])
    chord = setup(12, 0, volume=90, pan=70) + notes(
        12, [(b * BAR_44, n, BAR_44 - 12) for b in range(bars) for n in (60, 64, 67)], 80)
    return song([track(tempo_events("Pop 8 Beat", 4, 2, 120, "s") + [end_of_track(end)]),
                 track(drums + [end_of_track(end)]),
                 track(bass + [end_of_track(end)]),
                 track(chord + [end_of_track(end)])])


def waltz():
    bar = 3 * PPQN
    bars = 4
    end = bars * bar
    drums = setup(9, 8) + notes(9, [h for b in range(bars)
                                    for h in [(b * bar, 36, 48), (b * bar + PPQN, 42, 24),
                                              (b * bar + 2 * PPQN, 42, 24)]])
    bass = setup(11, 32) + notes(11, [(b * bar, 43 if b % 2 else 36, PPQN * 2 - 10)
                                      for b in range(bars)])
    chord = setup(13, 48, volume=80) + notes(
        13, [(b * bar + t, n, PPQN - 20) for b in range(bars) for t in (PPQN, 2 * PPQN)
             for n in (64, 67, 72)], 70)
    return song([track(tempo_events("Waltz", 3, 2, 96, "p") + [end_of_track(end)]),
                 track(drums + [end_of_track(end)]),
                 track(bass + [end_of_track(end)]),
                 track(chord + [end_of_track(end)])])


def bossa_fill():
    """One bar with PERCUSSION (sustain pedal), CHORD3 (MIDI port 1) and CHORD4 (pitch bend)."""
    end = BAR_44
    percussion = setup(10, 0) + notes(10, [(t, 75, 24) for t in range(0, BAR_44, PPQN // 2)])
    percussion += [(PPQN * 2, bytes([0xB0 | 10, 64, 127])), (PPQN * 3, bytes([0xB0 | 10, 64, 0]))]
    chord3 = setup(14, 24, pan=30) + notes(14, [(PPQN // 2 * i, n, PPQN // 2 - 8)
                                                 for i in (0, 3, 6) for n in (57, 60, 64)], 90)
    chord4 = setup(15, 26, pan=100) + notes(15, [(PPQN * 2, 69, PPQN)], 70)
    chord4 += [(PPQN * 2 + 48, bytes([0xE0 | 15, 0x00, 0x50])),
               (PPQN * 3, bytes([0xE0 | 15, 0x00, 0x40]))]
    return song([track(tempo_events("Bossa Fill", 4, 2, 140, "t") + [end_of_track(end)]),
                 track(percussion + [end_of_track(end)]),
                 track(chord3 + [(0, meta(0x21, bytes([1])))] + [end_of_track(end)]),
                 track(chord4 + [end_of_track(end)])])


def shuffle_68():
    bar = 6 * PPQN // 2
    bars = 2
    end = bars * bar
    drums = setup(9, 16) + notes(9, [(b * bar + t * PPQN // 2, 42 if t % 3 else 36, 30)
                                     for b in range(bars) for t in range(6)])
    return song([track(tempo_events("Shuffle 6/8", 6, 3, 110, "h") + [end_of_track(end)]),
                 track(drums + [end_of_track(end)])])


def drum_only_format0():
    end = BAR_44
    events = tempo_events("Drum Loop", 4, 2, 100, None)
    events += notes(9, drum_bar(0, sixteenths=True))
    return song([track(events + [end_of_track(end)])], fmt=0)


def refused_ppqn_480():
    end = 4 * 480
    return song([track(tempo_events("PPQN 480", 4, 2, 120, "s") + [end_of_track(end)]),
                 track(notes(9, [(0, 36, 240)]) + [end_of_track(end)])], division=480)


def refused_no_tempo():
    return song([track(tempo_events("No Tempo", 4, 2, 120, "s", with_tempo=False) +
                       [end_of_track(BAR_44)]),
                 track(notes(9, [(0, 36, 96)]) + [end_of_track(BAR_44)])])


def refused_melody_channel_1():
    return song([track(tempo_events("Melody", 4, 2, 120, "s") + [end_of_track(BAR_44)]),
                 track(notes(9, [(0, 36, 96)]) + [end_of_track(BAR_44)]),
                 track(notes(0, [(0, 72, 96), (PPQN, 74, 96)]) + [end_of_track(BAR_44)])])


def refused_mixed_channels():
    return song([track(tempo_events("Mixed", 4, 2, 120, "s") + [end_of_track(BAR_44)]),
                 track(notes(9, [(0, 36, 96)]) + notes(10, [(PPQN, 75, 24)]) +
                       [end_of_track(BAR_44)])])


def refused_missing_note_off():
    drums = notes(9, [(0, 36, 96)]) + [(PPQN, bytes([0x99, 38, 100]))]  # never released
    return song([track(tempo_events("Held Snare", 4, 2, 120, "s") + [end_of_track(BAR_44)]),
                 track(drums + [end_of_track(BAR_44)])])


def refused_note_after_end():
    drums = notes(9, [(0, 36, 96)]) + [end_of_track(BAR_44)]
    body = track(drums)[8:] + quantity(0) + bytes([0x99, 38, 100])  # a note after End of Track
    return song([track(tempo_events("After End", 4, 2, 120, "s") + [end_of_track(BAR_44)]),
                 b"MTrk" + struct.pack(">I", len(body)) + body])


def refused_cut_short():
    whole = pop_8beat()
    return whole[:len(whole) - 40]  # a download that stopped early: the chunk runs past the end


SAMPLES = {
    "pop-8beat.mid": pop_8beat,
    "waltz.mid": waltz,
    "bossa-fill.mid": bossa_fill,
    "shuffle-6-8.MID": shuffle_68,
    "drum-loop-format0.mid": drum_only_format0,
    "refused-ppqn-480.mid": refused_ppqn_480,
    "refused-no-tempo.mid": refused_no_tempo,
    "refused-melody-channel-1.mid": refused_melody_channel_1,
    "refused-mixed-channels.mid": refused_mixed_channels,
    "refused-missing-note-off.mid": refused_missing_note_off,
    "refused-note-after-end.mid": refused_note_after_end,
    "refused-cut-short.mid": refused_cut_short,
}


def main():
    for name, make in SAMPLES.items():
        with open(os.path.join(HERE, name), "wb") as out:
            out.write(make())


if __name__ == "__main__":
    main()
