#!/usr/bin/env python3
"""Writes the sample log files of this folder from literal bytes, independently of the
program's own writer, so that the reader is tested against a second implementation of the
layout. Run it from this folder; the outputs are committed."""
import struct

def field(text):
    return (text.encode('cp932') if isinstance(text, str) else text) + b'\0'

def record(*fields):
    assert len(fields) == 9
    return b''.join(field(f) for f in fields)

TITLE = record('', '日付', '時刻', 'エリア', '滞空時間', '最大高度', '最大上昇率',
               '備考、コメント', 'ﾊﾞﾛｸﾞﾗﾌﾌｧｲﾙ')

def log_image(records):
    body = b''.join(records)
    total = 14 + len(body)
    header = bytes([0x00, 0x02]) + struct.pack('<H', total & 0xFFFF) + b'\0\0' \
        + struct.pack('<H', len(records)) + b'\0\0' + bytes([0x09, 0, 0, 0])
    return header + body

flights = [
    record('1', '24/05/03', '10:21:05', '足尾山', '01:12:40', '0987 m', '3.4 m/s',
           'サーマル良好。\r\n南東の風 2m/s', '24050310.BRG'),
    record('2', '24/05/03', '13:02:11', 'ｱｼｵ', '00:25:03', '0612 m', '1.8 m/s', '', ''),
    record('3', '99/12/31', '23:59:59', '①≒∵ソ表', '00:00:10', '100.0 m', '0.5 m/s',
           'IBM拡張 纊 ～ ' + 'ソ' * 1500, '99123123.BRG'),
]

def write(name, data):
    with open(name, 'wb') as f:
        f.write(data)

write('empty.log', log_image([TITLE]))
write('three-flights.log', log_image([TITLE] + flights))
write('three-flights.lif', '春の足尾山'.encode('cp932'))
full = log_image([TITLE] + flights)
# Damaged copies: cut inside the header, inside the third flight, and a count of 9 records.
write('damaged-header.log', full[:9])
cut = full.index('①'.encode('cp932')) + 3
write('damaged-inside-record.log', full[:cut])
write('damaged-count.log', full[:6] + struct.pack('<H', 9) + full[8:])
# A foreign title record and fields longer than their widths (cut on reading).
other_title = record('No', 'Date', 'Time', 'Site', 'Duration', 'Max alt', 'Max climb',
                     'Remarks', 'Barograph')
long_fields = record('123456789', '2024/05/03/extra', '10:21:05.000', 'ソ' * 20, '01:12:40',
                     '0987 m', '3.4 m/s', 'ok', 'a-very-long-barograph-name.BRG')
write('foreign-title.log', log_image([other_title, long_fields]))
